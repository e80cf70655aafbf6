// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The contents file of the help project (jabbly.hhc): nested <UL> lists of <OBJECT>
// entries, each with a "Name" and a "Local" (the page) parameter. Qt Core only.

#include <QByteArray>
#include <QList>
#include <QString>

namespace jabbly {

struct HelpContentsEntry {
    QString name;
    QString local;          // the page, relative to the help's folder, with or without "#anchor"
    qsizetype parent = -1;  // index of the entry it is listed under; -1 at the top
    friend bool operator==(const HelpContentsEntry &, const HelpContentsEntry &) = default;
};

// The entries in file order (so a parent always comes before its children). Never fails:
// what does not parse is passed over.
QList<HelpContentsEntry> parseHelpContents(const QString &hhc);

// The help's text file `name` from the program's resources (":/help/"), read with a bound;
// empty, with a log line, when it is missing or larger than the bound.
QString helpResourceText(const QString &name);

}  // namespace jabbly

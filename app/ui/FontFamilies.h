// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font families the font window offers. QFontDatabase lists a family once for every
// foundry that has it ("C059 [UKWN]", "C059 [urw]"): to the user that is one font, and
// Qt's font matching already takes each style from whichever foundry has it. Only
// foundries that really differ, one of fixed and one of proportional pitch, stay apart.

#include <QString>
#include <QStringList>

#include <functional>

namespace jabbly {

// `family` without its foundry: "C059 [urw]" -> "C059". A name without one is kept.
QString familyWithoutFoundry(const QString &family);

// `families` (as QFontDatabase::families() lists them) with each family once, under its
// name without the foundry, unless its foundries differ in pitch (`isFixedPitch`): those
// keep their foundry names. No empty entries; the order is the input's.
QStringList fontChoices(const QStringList &families, const std::function<bool(const QString &)> &isFixedPitch);

// fontChoices over the display's fonts.
QStringList displayFontChoices();

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Tells a screen reader what Jabbly answered while the keyboard focus stays where the user
// typed. The transcript's own text events come from an object without the focus, and a
// screen reader leaves those unsaid. Qt 6.4's AT-SPI bridge forwards no announcement or
// alert event, and its name and description change events carry a reference to the object
// instead of the new text. What it does forward faithfully is an object being shown: so the
// answer is the name of a small notification object of the main window, shown anew for
// every answer. Orca says "notification" and the answer, and keeps it in its list of
// notifications. The object draws nothing and takes no focus.

#include <QString>
#include <QWidget>

namespace jabbly {

class AnswerNotice : public QWidget {
    Q_OBJECT
public:
    explicit AnswerNotice(QWidget *window);

    // Tells a screen reader `text`. (Whether one listens is not asked: Qt knows only once
    // its bridge is up, and a hidden widget shown again costs next to nothing.)
    void announce(const QString &text);
};

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader announces for a control, and the keyboard's way out of a window.

#include <QAccessible>
#include <QString>

class QLabel;
class QWidget;

namespace jabbly {

void describeForScreenReaders(QWidget &control, const QString &name, const QString &description);

// A label for `control` that only screen readers see, for a control the window has no
// room to label on screen. Qt's AT-SPI bridge names a drop-down list by its current text,
// whatever its accessible name: a screen reader reads the drop-down's label from the
// "labelled by" relation that a label whose buddy it is gives it.
QLabel *labelForScreenReaders(QWidget &control, const QString &text);

// The role screen readers are told for `widget`, a widget of a class of the program's own
// (Q_OBJECT): Qt gives a plain QWidget, a window among them, the role of a client area
// ("filler" on AT-SPI), which a screen reader does not announce as a window. Call it in
// the widget's constructor, before it is shown.
void setAccessibleRole(QWidget &widget, QAccessible::Role role);

// Escape closes `window`, as its close box does, unless a control inside it uses the key
// (an open drop-down list closes first).
void closeOnEscape(QWidget &window);

}  // namespace jabbly

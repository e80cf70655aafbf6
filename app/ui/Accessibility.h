// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a screen reader announces for a control, and the keyboard's way out of a window.

#include <QString>

class QWidget;

namespace jabbly {

void describeForScreenReaders(QWidget &control, const QString &name, const QString &description);

// Escape closes `window`, as its close box does.
void closeOnEscape(QWidget &window);

}  // namespace jabbly

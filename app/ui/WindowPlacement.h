// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Qt>

class QWidget;

namespace jabbly {

// The window type of a modeless window that belongs to another one: the window manager
// keeps it in front of its owner and minimises and restores it with the owner. (A plain
// Qt::Window with a parent carries no owner on X11: Qt writes WM_TRANSIENT_FOR only for
// dialog-type windows.)
inline constexpr Qt::WindowType OwnedWindow = Qt::Dialog;

// Moves a top-level window so that its frame is centred on the primary screen.
void centreOnScreen(QWidget &window);

// Moves a top-level window so that its frame is centred over `owner`'s frame, kept on
// the owner's screen.
void centreOver(QWidget &window, const QWidget &owner);

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QMenu;
class QMenuBar;

namespace jabbly {

// Escape in `menu`, opened from `bar` (with Alt and its letter, or a click), closes the
// menu and leaves the menu bar at once, so the keyboard is back where it was: Qt would
// keep the menu bar in keyboard mode, swallowing the next typing, until a second Escape.
void leaveMenuBarOnEscape(QMenuBar &bar, QMenu &menu);

}  // namespace jabbly

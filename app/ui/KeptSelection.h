// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QLineEdit;

namespace jabbly {

// Keeps `box`'s selection while the keyboard is elsewhere. A line edit drops its selection
// when the focus goes anywhere but another window or a popup (to the menu bar opened with
// Alt, for one), and the next typing then lands at the end of the text instead of
// replacing it. Back in the box, the selection is as it was, as long as the text is.
void keepSelectionWhileAway(QLineEdit &box);

}  // namespace jabbly

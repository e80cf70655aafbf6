// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace jabbly {

// Moves a top-level window so that its frame is centred on the primary screen.
void centreOnScreen(QWidget &window);

}  // namespace jabbly

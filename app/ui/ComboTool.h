// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Combo helper: limits how tall a drop-down list opens.

#include <cstdint>

class QComboBox;
class QWidget;

namespace jabbly {

class ComboTool {
public:
    virtual ~ComboTool() = default;
    // Makes `box`'s drop-down list at most `height` pixels high (the speech options window
    // passes 500). `window` is the window that holds the box.
    virtual void SetDropHeight(QWidget *window, QComboBox *box, int16_t height) = 0;
};

}  // namespace jabbly

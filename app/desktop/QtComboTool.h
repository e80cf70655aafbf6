// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The combo helper over Qt's combo box.

#include "ui/ComboTool.h"

namespace jabbly {

class QtComboTool : public ComboTool {
public:
    void SetDropHeight(QWidget *window, QComboBox *box, int16_t height) override;
};

}  // namespace jabbly

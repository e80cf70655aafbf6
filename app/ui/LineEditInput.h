// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The input box Say1 as the turn sees it, over the window's QLineEdit.

#include "conversation/Turn.h"

class QLineEdit;

namespace jabbly {

class LineEditInput : public InputBox {
public:
    explicit LineEditInput(QLineEdit *box) : box_(box) {}
    void selectAll() override;

private:
    QLineEdit *box_;
};

}  // namespace jabbly

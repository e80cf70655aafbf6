// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LineEditInput.h"

#include <QLineEdit>

namespace jabbly {

void LineEditInput::selectAll() { box_->setSelection(0, static_cast<int>(box_->text().size())); }

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Export dialog as a Qt file dialog.

#include "ui/SaveDialog.h"

namespace jabbly {

class QtSaveDialog : public SaveDialog {
public:
    // Title and filters of the dialog.
    static QString title();
    static QString filters();

    QString Export(QWidget *owner) override;
};

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The save dialog used by Export: asks the user where to write the transcript.

#include <QString>

class QWidget;

namespace jabbly {

class SaveDialog {
public:
    virtual ~SaveDialog() = default;
    // Shows the dialog, owned by `owner`, and waits for the user. Returns the chosen path
    // exactly as chosen (no suffix is added), or an empty text when the user cancels.
    virtual QString Export(QWidget *owner) = 0;
};

}  // namespace jabbly

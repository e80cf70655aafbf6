// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/QtSaveDialog.h"

#include <QFileDialog>

namespace jabbly {

QString QtSaveDialog::title() { return QStringLiteral("Export"); }

QString QtSaveDialog::filters() { return QStringLiteral("Rich Text Format (*.rtf);;All files (*)"); }

QString QtSaveDialog::Export(QWidget *owner)
{
    // No default suffix: a name typed without an extension is used exactly as typed. The
    // dialog asks before replacing an existing file.
    return QFileDialog::getSaveFileName(owner, title(), QString(), filters());
}

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document launcher over the desktop's own handlers (QDesktopServices).

#include "DocumentLauncher.h"

namespace jabbly {

class DesktopDocumentLauncher : public DocumentLauncher {
public:
    void RunDoc(QWidget *owner, const QString &link) override;
};

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Document launcher: hands a link (a file, a web page, a mailto: link) to the desktop,
// which opens it with its own handler.

#include <QString>

class QWidget;

namespace jabbly {

class DocumentLauncher {
public:
    virtual ~DocumentLauncher() = default;
    // Opens `link` for the window `owner`. Throws jabbly::Error 5 for a link that is not a
    // valid address and 429 when the desktop has no program to open it.
    virtual void RunDoc(QWidget *owner, const QString &link) = 0;
};

}  // namespace jabbly

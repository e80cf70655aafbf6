// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document launcher over the desktop's own handlers (QDesktopServices).

#include "ui/DocumentLauncher.h"

#include <QString>
#include <QUrl>

#include <functional>

namespace jabbly {

class DesktopDocumentLauncher : public DocumentLauncher {
public:
    // What the launcher needs of the desktop.
    struct Desktop {
        // True when the desktop names a program for `type`: a MIME type, or
        // "x-scheme-handler/<scheme>" for a link such as mailto:.
        std::function<bool(const QString &type)> hasHandler;
        // Hands `url` to that program; false when it could not be started.
        std::function<bool(const QUrl &url)> open;
    };
    // xdg-mime and QDesktopServices::openUrl.
    static Desktop realDesktop();

    explicit DesktopDocumentLauncher(Desktop desktop = realDesktop());

    // Asks the desktop first whether it has a program for the link: xdg-open, behind
    // QDesktopServices, reports success as soon as it starts, also when it then finds no
    // program, so only the question tells a missing mail program from a working one.
    void RunDoc(QWidget *owner, const QString &link) override;

    // The type whose default program opens `url`: "x-scheme-handler/mailto" for a mail
    // link, the file's MIME type for a local file.
    static QString handlerType(const QUrl &url);

private:
    Desktop desktop_;
};

// True when xdg-mime names a default program for `type` (false without xdg-mime: then
// xdg-open, from the same package, is missing too).
bool desktopHasDefaultApplication(const QString &type);

}  // namespace jabbly

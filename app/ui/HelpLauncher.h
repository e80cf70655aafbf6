// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// F1 and Contents: opens jabbly.chm with the desktop's viewer for help files when the
// desktop has one, and otherwise shows the same pages in the program's own help window.

#include "ui/HelpWindow.h"

#include <QPointer>
#include <QString>
#include <QUrl>

#include <functional>

class QWidget;

namespace jabbly {

class HelpLauncher {
public:
    // What the launcher needs of the desktop.
    struct Desktop {
        // True when the desktop has a program for help files such as the one at `path`.
        std::function<bool(const QString &path)> hasChmViewer;
        // Opens `url` with that program; false when it could not be started.
        std::function<bool(const QUrl &url)> open;
    };
    // The desktop this program runs on: desktopHasChmViewer and QDesktopServices::openUrl.
    static Desktop realDesktop();

    // The help window, when one is needed, is owned by `owner`.
    explicit HelpLauncher(QWidget *owner, Desktop desktop = realDesktop());
    ~HelpLauncher();
    HelpLauncher(const HelpLauncher &) = delete;
    HelpLauncher &operator=(const HelpLauncher &) = delete;

    // Opens the help file at `chmPath` at its default page. Throws jabbly::Error 53, whose
    // message names the file, when there is no such file; nothing is opened then.
    void showHelp(const QString &chmPath);

    // The program's own help window, once it has been shown.
    HelpWindow *window() const { return window_; }

private:
    QWidget *owner_;
    Desktop desktop_;
    QPointer<HelpWindow> window_;
};

// True when the desktop names a default program for the file type of `path` or for the
// CHM types (asked of xdg-mime, the freedesktop.org way; without xdg-mime: false).
bool desktopHasChmViewer(const QString &path);

}  // namespace jabbly

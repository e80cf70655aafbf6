// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/HelpLauncher.h"

#include "ui/Logging.h"
#include "ui/HelpWindow.h"
#include "jabbly/error.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>

#include <utility>

namespace jabbly {

bool desktopHasChmViewer(const QString &path)
{
    QStringList types{QStringLiteral("application/vnd.ms-htmlhelp"), QStringLiteral("application/x-chm")};
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    if (type.isValid() && !types.contains(type.name()))
        types.prepend(type.name());
    for (const QString &name : types) {
        QProcess query;
        query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), name});
        if (!query.waitForStarted())
            return false;  // no xdg-mime: no way to tell, so no viewer
        if (!query.waitForFinished(5000)) {
            query.kill();
            query.waitForFinished();
            continue;
        }
        if (query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 &&
            !query.readAllStandardOutput().trimmed().isEmpty())
            return true;
    }
    return false;
}

HelpLauncher::Desktop HelpLauncher::realDesktop()
{
    return {desktopHasChmViewer, [](const QUrl &url) { return QDesktopServices::openUrl(url); }};
}

HelpLauncher::HelpLauncher(QWidget *owner, Desktop desktop) : owner_(owner), desktop_(std::move(desktop)) {}

HelpLauncher::~HelpLauncher()
{
    // Without an owner the window is ours; with one, the owner may have taken it already.
    if (!owner_)
        delete window_;
}

void HelpLauncher::showHelp(const QString &chmPath)
{
    if (!QFileInfo(chmPath).isFile())
        throw Error(err::FileNotFound,
                    QStringLiteral("Cannot find the help file '%1'.  It belongs in Jabbly's own folder; "
                                   "a fresh copy of Jabbly brings it back.")
                        .arg(chmPath));
    if (desktop_.hasChmViewer && desktop_.hasChmViewer(chmPath)) {
        if (desktop_.open && desktop_.open(QUrl::fromLocalFile(chmPath)))
            return;
        qCWarning(lcHelp).noquote() << "the desktop's viewer did not open" << chmPath
                                    << "- showing the help in Jabbly's own window";
    }
    if (!window_)
        window_ = new HelpWindow(owner_);
    window_->showHelp();
}

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/DesktopDocumentLauncher.h"

#include "desktop/Logging.h"
#include "jabbly/error.h"

#include <QDesktopServices>
#include <QLoggingCategory>
#include <QMimeDatabase>
#include <QProcess>

#include <utility>

namespace jabbly {

bool desktopHasDefaultApplication(const QString &type)
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), type});
    if (!query.waitForStarted()) {
        qCInfo(lcLauncher) << "xdg-mime is not installed: no program is known for" << type;
        return false;
    }
    if (!query.waitForFinished(5000)) {
        query.kill();
        query.waitForFinished();
        qCWarning(lcLauncher) << "xdg-mime did not answer for" << type;
        return false;
    }
    const QByteArray answer = query.readAllStandardOutput().trimmed();
    return query.exitStatus() == QProcess::NormalExit && query.exitCode() == 0 && !answer.isEmpty();
}

DesktopDocumentLauncher::Desktop DesktopDocumentLauncher::realDesktop()
{
    return {desktopHasDefaultApplication, [](const QUrl &url) { return QDesktopServices::openUrl(url); }};
}

DesktopDocumentLauncher::DesktopDocumentLauncher(Desktop desktop) : desktop_(std::move(desktop)) {}

QString DesktopDocumentLauncher::handlerType(const QUrl &url)
{
    if (url.isLocalFile())
        return QMimeDatabase().mimeTypeForFile(url.toLocalFile()).name();
    return QStringLiteral("x-scheme-handler/") + url.scheme().toLower();
}

void DesktopDocumentLauncher::RunDoc(QWidget *, const QString &link)
{
    // A bare path is a local document; anything with a scheme (mailto:, https:) is a link.
    QUrl url = QUrl::fromUserInput(link);
    if (link.trimmed().isEmpty() || !url.isValid())
        throw Error(err::InvalidArgument, QStringLiteral("Cannot open '%1': it is not a valid address.").arg(link));
    const QString type = handlerType(url);
    if (!desktop_.hasHandler || !desktop_.hasHandler(type) || !desktop_.open || !desktop_.open(url))
        throw Error(
            err::CannotCreateObject,
            QStringLiteral("Cannot open '%1': no program on this desktop is set up to open it (%2).").arg(link, type));
}

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopDocumentLauncher.h"

#include "jabbly/error.h"

#include <QDesktopServices>
#include <QUrl>

namespace jabbly {

void DesktopDocumentLauncher::RunDoc(QWidget *, const QString &link)
{
    // A bare path is a local document; anything with a scheme (mailto:, https:) is a link.
    QUrl url = QUrl::fromUserInput(link);
    if (link.trimmed().isEmpty() || !url.isValid())
        throw Error(err::InvalidArgument, QStringLiteral("Cannot open '%1': it is not a valid address.").arg(link));
    if (!QDesktopServices::openUrl(url))
        throw Error(err::CannotCreateObject,
                    QStringLiteral("Cannot open '%1': no program on this desktop is set up to open it.").arg(link));
}

}  // namespace jabbly

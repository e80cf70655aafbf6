// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "speech/SpeechErrors.h"

#include <QDir>
#include <QFileInfo>

namespace jabbly::speech_err {

Error fileError(const QFileDevice &file, const QString &path, const QString &action)
{
    const QString reason = file.errorString();
    const QFileInfo info(path);
    int number = err::PathFileAccess;
    switch (file.error()) {
    case QFileDevice::PermissionsError:
        number = err::PermissionDenied;
        break;
    case QFileDevice::ResourceError:
    case QFileDevice::WriteError:
        // Almost always a full disk (or quota) when writing a small file.
        number = err::DiskFull;
        break;
    case QFileDevice::OpenError:
        if (!info.absoluteDir().exists())
            number = err::PathNotFound;
        else if (info.exists() && !info.isReadable())
            number = err::PermissionDenied;
        break;
    default:
        break;
    }
    return Error(number, QStringLiteral("Could not %1 %2: %3").arg(action, QDir::toNativeSeparators(path), reason));
}

}  // namespace jabbly::speech_err

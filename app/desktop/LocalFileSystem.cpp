// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/LocalFileSystem.h"

#include "jabbly/error.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace jabbly {

int64_t LocalFileSystem::FileSize(const QString &path)
{
    if (path.isEmpty())
        throw Error(err::FileNotFound, QStringLiteral("File not found: the path is empty."));

    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        const int e = errno;
        switch (e) {
        case ENOENT:
            // A missing file in an existing folder is "file not found"; a missing folder on
            // the way is "path not found".
            {
                const qsizetype slash = path.lastIndexOf(u'/');
                if (slash > 0) {
                    struct stat parent {};
                    const QByteArray dir = QFile::encodeName(path.left(slash));
                    if (::stat(dir.constData(), &parent) != 0 || !S_ISDIR(parent.st_mode))
                        throw Error(err::PathNotFound, QStringLiteral("Path not found: %1").arg(path));
                }
            }
            throw Error(err::FileNotFound, QStringLiteral("File not found: %1").arg(path));
        case ENOTDIR:
            throw Error(err::PathNotFound, QStringLiteral("Path not found: %1").arg(path));
        case EACCES:
        case EPERM:
            throw Error(err::PermissionDenied, QStringLiteral("Permission denied: %1").arg(path));
        default:
            throw Error(
                err::PathFileAccess,
                QStringLiteral("Path/File access error: %1 (%2)").arg(path, QString::fromLocal8Bit(std::strerror(e))));
        }
    }
    if (S_ISDIR(st.st_mode))
        throw Error(err::FileNotFound, QStringLiteral("File not found: %1 is a folder").arg(path));
    return static_cast<int64_t>(st.st_size);
}

}  // namespace jabbly

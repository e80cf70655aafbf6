// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileErrors.h"

#include <QFile>

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace jabbly::safefile {

int fileErrorNumber(int errnum)
{
    switch (errnum) {
    case ENOENT:
        return jabbly::err::FileNotFound;
    case ENOTDIR:
        return jabbly::err::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY:
        return jabbly::err::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return jabbly::err::DiskFull;
    default:
        return jabbly::err::PathFileAccess;
    }
}

namespace {

QString titleOf(int number)
{
    switch (number) {
    case jabbly::err::FileNotFound:
        return QStringLiteral("File not found");
    case jabbly::err::PathNotFound:
        return QStringLiteral("Path not found");
    case jabbly::err::PermissionDenied:
        return QStringLiteral("Permission denied");
    case jabbly::err::DiskFull:
        return QStringLiteral("Disk full");
    default:
        return QStringLiteral("Path/File access error");
    }
}

}  // namespace

jabbly::Error fileError(int errnum, const QString &path, bool missingFolder)
{
    int number = fileErrorNumber(errnum);
    if (missingFolder && number == jabbly::err::FileNotFound)
        number = jabbly::err::PathNotFound;
    // std::error_code gives the strerror text without strerror's shared buffer.
    const QString reason = QString::fromStdString(std::error_code(errnum, std::generic_category()).message());
    return jabbly::Error(number, QStringLiteral("%1: '%2': %3").arg(titleOf(number), path, reason));
}

jabbly::Error folderError(int errnum, const QString &folder)
{
    const int number = fileErrorNumber(errnum);
    const QString reason = QString::fromStdString(std::error_code(errnum, std::generic_category()).message());
    return jabbly::Error(
        number,
        QStringLiteral("%1: folder '%2': no new file can be made in it: %3").arg(titleOf(number), folder, reason));
}

jabbly::Error notAPlainFile(const QString &path)
{
    return jabbly::Error(jabbly::err::PathFileAccess,
                         QStringLiteral("%1: '%2': not a plain file").arg(titleOf(jabbly::err::PathFileAccess), path));
}

bool parentFolderExists(const QString &path)
{
    std::filesystem::path parent = std::filesystem::path(QFile::encodeName(path).toStdString()).parent_path();
    if (parent.empty())
        parent = ".";
    struct stat st;
    return ::stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace jabbly::safefile

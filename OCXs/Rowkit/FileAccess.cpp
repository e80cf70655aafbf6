// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileAccess.h"

#include "FileErrors.h"

#include "SafeRead.h"

#include <jabbly/error.h>

#include <cerrno>

namespace rowkit {

using namespace jabbly::safefile;

void readFileInChunks(const QString &path, const std::function<bool(QByteArrayView)> &consume)
{
    const ReadResult read = jabbly::safefile::readFileInChunks(path, MaxFileBytes, ChunkBytes, consume);
    switch (read.failure) {
    case ReadFailure::None:
        return;
    case ReadFailure::System:
        throw fileError(read.errnum, path, read.errnum == ENOENT && !path.isEmpty() && !parentFolderExists(path));
    case ReadFailure::NotPlainFile:
        // A device could be read for ever, a pipe could wait for ever: list files are plain files.
        throw notAPlainFile(path);
    case ReadFailure::TooLarge:
        throw jabbly::Error(jabbly::err::OutOfStringSpace,
                            QStringLiteral("Out of string space: '%1': the file is %2, more than a list file may hold")
                                .arg(path, read.reason()));
    }
}

QByteArray readWholeFile(const QString &path)
{
    QByteArray bytes;
    readFileInChunks(path, [&bytes](QByteArrayView chunk) {
        bytes += chunk;
        return true;
    });
    return bytes;
}

}  // namespace rowkit

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and replacing whole files. Failures throw jabbly::Error with the file-system
// error's number (see FileErrors.h); no file handle outlives a call.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

namespace rowkit {

// Hands the content of the file at `path` to `consume` in pieces of at most ChunkBytes,
// in order, until the end of the file or until `consume` returns false. A missing file is
// 53, a missing folder 76, anything but a plain file (a folder, a device, a pipe) 75, and
// a file longer than MaxFileBytes Out of string space (14) once that much has been read.
// The file is opened without blocking and never sized from what it says its length is.
inline constexpr qsizetype ChunkBytes = qsizetype{64} * 1024;
inline constexpr qint64 MaxFileBytes = qint64{256} << 20;
void readFileInChunks(const QString &path, const std::function<bool(QByteArrayView)> &consume);

// The whole content of the file at `path`, with the errors of readFileInChunks.
QByteArray readWholeFile(const QString &path);

}  // namespace rowkit

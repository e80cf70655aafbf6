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
inline constexpr qsizetype ChunkBytes = 64 * 1024;
inline constexpr qint64 MaxFileBytes = qint64{256} << 20;
void readFileInChunks(const QString &path, const std::function<bool(QByteArrayView)> &consume);

// The whole content of the file at `path`, with the errors of readFileInChunks.
QByteArray readWholeFile(const QString &path);

// Replaces the file at `path` with `bytes` so that the old content is never lost: the
// bytes go into a new file in the same folder, which is flushed to the disk and then
// renamed over the old one. On any failure the old file is left exactly as it was, the
// new file is removed and the error is thrown. A replaced file keeps its permissions;
// a symbolic link keeps pointing at its file, which receives the new content. Only a
// plain file is replaced: a folder, a device or a pipe at `path` is 75.
//
// Where the new file cannot take the old one's place, the old file is written in place
// instead: when it has several hard links, when its folder does not let us create a file
// (or the new file's name would be too long), and when the new file could not be given
// the old one's owner and group. The new size is reserved first, so that a full disk is
// found before a byte changes; then the bytes are written, the file cut to their length
// and flushed. When neither way is open, an error about the folder names the folder.
//
// The new file is locked (flock) while it is written. A save that succeeds removes the
// new files that earlier saves of the same file left behind (a killed process leaves
// one): files whose name follows the new-file pattern for this target, owned by us or by
// the target's owner, and not locked by a save still writing.
void replaceWholeFile(const QString &path, const QByteArray &bytes);

}  // namespace rowkit

#pragma once
// Reading and replacing whole files. Failures throw jabbly::Error with the file-system
// error's number (see FileErrors.h); no file handle outlives a call.

#include <QByteArray>
#include <QString>

namespace rowkit {

// The whole content of the file at `path`. A missing file is 53, a missing folder 76,
// anything but a plain file (a folder, a device, a pipe) 75.
QByteArray readWholeFile(const QString &path);

// Replaces the file at `path` with `bytes` so that the old content is never lost: the
// bytes go into a new file in the same folder, which is flushed to the disk and then
// renamed over the old one. On any failure the old file is left exactly as it was, the
// new file is removed and the error is thrown. A replaced file keeps its permissions;
// a symbolic link keeps pointing at its file, which receives the new content. Only a
// plain file is replaced: a folder, a device or a pipe at `path` is 75.
void replaceWholeFile(const QString &path, const QByteArray &bytes);

}  // namespace rowkit

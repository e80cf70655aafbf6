// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Export: the transcript written as a Rich Text Format file at a path the user chose.

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace jabbly {

// Writes the whole of `document` as RTF (see RtfWriter.h) to `path`, exactly that name (no
// suffix is added), replacing any file there through replaceFile. Throws jabbly::Error:
// 75 when the file or its folder may not be written (a read-only file included), 76 when
// the folder does not exist, 61 when the disk is full; the old file is then unchanged.
void exportTranscript(const QTextDocument &document, const QString &path);

// Title and text of the message that tells the user an export failed with error 75.
QString exportErrorTitle();
QString exportErrorText();

// Replaces the file at `path` with `bytes` so that the old content is never lost: a new
// file in the same folder, flushed to the disk, is renamed over the old one, and keeps
// its permissions (and its owner, where the process may set it). A symbolic link keeps
// pointing at its file, which gets the new content. A file with more than one hard link
// is written in place instead, after the space for the new content has been reserved, so
// that all its names keep showing one file.
//
// A file counts as read-only, and is refused, when this process may not write it or
// when its owner's write permission is off: root, which may write anything, still
// leaves such a file alone, as the user asked of it.
//
// Throws jabbly::Error with the numbers of exportTranscript; anything that is not a
// plain file (a folder, a device, a pipe) is 75. On failure nothing is left behind and
// the old file is exactly as it was.
void replaceFile(const QString &path, const QByteArray &bytes);

}  // namespace jabbly

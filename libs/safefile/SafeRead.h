// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading a file the program opens on its own (its data files, the user's lexicon and
// settings, the swap table) so that nothing there can hang it or eat its memory: the file
// is opened without blocking, so a pipe without a writer cannot hold the open; anything
// but a plain file (a pipe, a device, a socket, a folder) is refused before a byte is
// read; and no more than a given number of bytes is read, whatever size the file claims
// (a device says 0, so do the files under /proc, and a sparse file may say anything).
//
// A path that begins with ":" names one of the program's own resources, which are read
// with the same bound.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>

namespace jabbly::safefile {

// Why a read did not complete.
enum class ReadFailure {
    None,
    System,        // a call failed: see errnum (ENOENT for a missing file, EISDIR for a folder, ...)
    NotPlainFile,  // a pipe, a device or a socket: see kind
    TooLarge,      // more than the bound: see limit
};

struct ReadResult {
    ReadFailure failure = ReadFailure::None;
    int errnum = 0;
    QString kind;      // NotPlainFile: what it is instead ("a pipe", "a character device", ...)
    qint64 limit = 0;  // TooLarge: the bound

    bool ok() const { return failure == ReadFailure::None; }
    explicit operator bool() const { return ok(); }
    // Why, in words: the system's reason, "not a plain file but a pipe", or "larger than
    // 16,777,216 bytes"; empty when the read succeeded.
    QString reason() const;
};

// The piece size of a read that is given none.
constexpr qsizetype DefaultChunkBytes = qsizetype{64} * 1024;

// Hands the file's content to `consume` in pieces of at most `chunkBytes`, in order, until
// the end of the file, or until `consume` returns false (which is no failure). Reading
// more than `maxBytes` stops with TooLarge; the pieces before it have been handed over.
// A `chunkBytes` of 0 or less reads in pieces of DefaultChunkBytes.
ReadResult readFileInChunks(const QString &path, qint64 maxBytes, qsizetype chunkBytes,
                            const std::function<bool(QByteArrayView)> &consume);

// The whole content of the file, at most `maxBytes` of it; on failure `bytes` is empty.
ReadResult readWholeFile(const QString &path, qint64 maxBytes, QByteArray &bytes);

// Checks, without reading it, that the file is one that may be read: a missing file is
// fine (ENOENT), a plain file is fine when it is at most `maxBytes` long, anything else is
// refused. For files that another reader (QSettings) opens after this check.
ReadResult checkReadable(const QString &path, qint64 maxBytes);

}  // namespace jabbly::safefile

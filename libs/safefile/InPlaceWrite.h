// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a file in place, over its own content, when no new file can take its place (it
// has several names, its folder takes no new file, its owner could not be kept). Such a
// write is not all-or-nothing by itself, so a complete copy of the old content is kept,
// flushed to the disk, before the first byte changes, and removed once the new content is
// on the disk: a write cut short (a kill, a power cut) leaves the copy, from which the
// next start puts the old content back (recoverInterruptedWrite in SafeWrite.h).

#include <QByteArrayView>
#include <QString>

#include <string>

#include <sys/stat.h>

namespace jabbly::safefile {

// Where the copy of the old content of `target` is kept: "." + name + ".old" beside it,
// or, when its folder takes no new file, a name made of the file's name and a hash of its
// whole path in the recovery folder.
struct CopyPlace {
    std::string folder;
    std::string stem;  // the copy is folder + "/." + stem; its new files follow TemporaryFile
    std::string path() const { return folder + "/." + stem; }
};
CopyPlace copyBeside(const std::string &target);
CopyPlace copyElsewhere(const std::string &target, const std::string &recoveryFolder);

// Writes `bytes` over the file `target` (which is `old`) in place: keeps the copy of the
// old content, reserves the new size, so that a full disk is found before a byte changes,
// writes, cuts the file to its new length, flushes it and removes the copy. A write that
// fails once the old content has begun to change is undone from the copy's content.
// Throws jabbly::Error about `shown`; the copy stays only where the next start needs it.
void writeInPlace(const std::string &target, const QString &shown, QByteArrayView bytes, const struct stat &old,
                  const std::string &recoveryFolder);

// Puts `bytes` back as the whole content of the existing file `target`, in place, and
// flushes it. False with errno set when that fails.
bool putBack(const std::string &target, QByteArrayView bytes);

}  // namespace jabbly::safefile

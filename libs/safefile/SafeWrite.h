// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Replacing a whole file so that nothing can lose its old content: the one durable write
// of the program's files (the word list, the transcript export). Failures throw
// jabbly::Error with the file system's error number (see FileErrors.h).

#include <QByteArrayView>
#include <QString>

namespace jabbly::safefile {

struct WriteOptions {
    // Where an in-place write keeps the copy of the old content when the file's own folder
    // takes no new file. Empty: defaultRecoveryFolder().
    QString recoveryFolder;
};

// The "recovery" folder in the user's data folder for the program.
QString defaultRecoveryFolder();

// Replaces the file at `path` with `bytes` so that the old content is never lost: the
// bytes go into a new file in the same folder, which gets the old file's owner, group,
// permissions and extended attributes (its ACL among them), is flushed to the disk and
// then renamed over the old one; the folder is flushed after. On any failure the old file
// is left exactly as it was, the new file is removed and the error is thrown.
//
// A symbolic link keeps pointing at its file, which receives the new content; a link
// whose file is not there yet gets it made in its folder, and a link into a folder that
// is not there is path not found (76), naming that folder, with nothing changed. Only a
// plain file is replaced: a folder, a device or a pipe at `path` is 75. A read-only file
// (one we may not write, or one without any write permission, which root too leaves
// alone) is permission denied (70).
//
// Where the new file cannot take the old one's place, the old file is written in place
// instead: when it has several hard links, when its folder does not let us create a file
// (or the new file's name would be too long), and when the new file could not be given
// the old one's owner, group or extended attributes. A complete copy of the old content
// is kept first (InPlaceWrite.h), so that a write cut short can be undone by
// recoverInterruptedWrite at the next start. When neither way is open, an error about the
// folder names the folder.
//
// The new file is locked (flock) while it is written. A save that succeeds removes the
// new files that earlier saves of the same file left behind (a killed process leaves
// one): files whose name follows the new-file pattern for this target, owned by us or by
// the target's owner, and not locked by a save still writing.
void replaceFile(const QString &path, QByteArrayView bytes, const WriteOptions &options = {});

// When an in-place write of `path` was cut short, puts the old content back from the copy
// it kept, then removes the copy; call it before reading the file. Returns the copy's
// path, or an empty text when there was nothing to put back. Throws jabbly::Error when the
// content cannot be put back; the copy then stays for the next try.
QString recoverInterruptedWrite(const QString &path, const WriteOptions &options = {});

}  // namespace jabbly::safefile

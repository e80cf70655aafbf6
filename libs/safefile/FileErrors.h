// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns the operating system's error codes into the program's numbered errors. Every
// message names what went wrong, the path, and the system's own reason.

#include "jabbly/error.h"

#include <QString>

namespace jabbly::safefile {

// The error number for an errno value:
//   ENOENT 53 (the caller decides 76 when the folder is what is missing), ENOTDIR 76,
//   EACCES/EPERM/EROFS/ETXTBSY/EBUSY 70, ENOSPC/EDQUOT/EFBIG 61, anything else 75.
int fileErrorNumber(int errnum);

// The error for a failed file-system call on `path`. `missingFolder` turns a "no such
// file" into path not found (76).
jabbly::Error fileError(int errnum, const QString &path, bool missingFolder = false);

// The error for a folder in which no new file can be made; the message names the folder.
jabbly::Error folderError(int errnum, const QString &folder);

// Path/file access error (75) for something at `path` that is not a plain file (a
// device, a pipe, a socket), which list files must be.
jabbly::Error notAPlainFile(const QString &path);

// True when the folder that would hold `path` exists; tells "file not found" (53) from
// "path not found" (76) after an ENOENT.
bool parentFolderExists(const QString &path);

}  // namespace jabbly::safefile

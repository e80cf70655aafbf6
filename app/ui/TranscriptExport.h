// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Export: the transcript written as a Rich Text Format file at a path the user chose.

#include "jabbly/error.h"

#include <QString>

class QTextDocument;

namespace jabbly {

// Writes the whole of `document` as RTF (see RtfWriter.h) to `path`, exactly that name (no
// suffix is added), replacing any file there through the program's safe write
// (SafeWrite.h), which keeps the old file whole until the new one is complete. Throws
// jabbly::Error: 75 when the file or its folder may not be written (a read-only file
// included) or is no plain file, 76 when the folder does not exist, 61 when the disk is
// full, and the file system's number for anything else; the old file is then unchanged.
void exportTranscript(const QTextDocument &document, const QString &path);

// Title and text of the message that tells the user an export failed with error 75.
QString exportErrorTitle();
QString exportErrorText();
// The text of the same message for any other failure of the export to `path`: what went
// wrong, in the system's words, and that an old file of that name is as it was.
QString exportFailureText(const Error &error, const QString &path);

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/TranscriptExport.h"

#include "ui/RtfWriter.h"
#include "safefile/SafeWrite.h"

namespace jabbly {

void exportTranscript(const QTextDocument &document, const QString &path)
{
    try {
        safefile::replaceFile(path, writeRtf(document));
    } catch (const Error &error) {
        // The transcript's writer reports a file it may not write, a folder it may not
        // write in or a read-only file as a path/file access failure.
        if (error.number() == err::PermissionDenied)
            throw Error(err::PathFileAccess, error.message());
        throw;
    }
}

QString exportErrorTitle() { return QStringLiteral("Export Error"); }

QString exportErrorText()
{
    return QStringLiteral(
        "Cannot export the file.  If you are trying to overwrite a file, make sure that its read-only attribute is "
        "turned off.  Also make sure that no other program is currently using the file.");
}

QString exportFailureText(const Error &error, const QString &path)
{
    QString why;
    switch (error.number()) {
    case err::DiskFull:
        why = QStringLiteral("The disk is full.  ");
        break;
    case err::PathNotFound:
        why = QStringLiteral("The folder does not exist.  ");
        break;
    default:
        break;
    }
    return QStringLiteral("Cannot export the file '") + path + QStringLiteral("'.  ") + why + error.message() +
           QStringLiteral(" (error ") + QString::number(error.number()) +
           QStringLiteral(").  Any file of that name has been left as it was.");
}

}  // namespace jabbly

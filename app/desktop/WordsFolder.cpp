// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/WordsFolder.h"

#include "desktop/Logging.h"
#include <QDir>
#include <QTemporaryFile>

namespace jabbly {

bool canCreateFilesIn(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".jabbly-probe-XXXXXX")));
    return probe.open();
}

QString wordsFolder(const QString &programFolder, const QString &userDataFolder)
{
    if (canCreateFilesIn(programFolder))
        return programFolder;
    if (userDataFolder.isEmpty() || !QDir().mkpath(userDataFolder)) {
        qCWarning(lcWordsFolder).noquote() << "no folder for the learned words: neither" << programFolder << "nor"
                                           << userDataFolder << "can be written";
        return programFolder;
    }
    QString folder = QDir(userDataFolder).absolutePath();
    if (!folder.endsWith(u'/'))
        folder += u'/';
    qCInfo(lcWordsFolder).noquote() << "the learned words are kept in" << folder;
    return folder;
}

}  // namespace jabbly

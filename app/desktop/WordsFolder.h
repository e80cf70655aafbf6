// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the learned words are kept. A program folder the user may write (a build folder, a
// portable copy) keeps words.txt beside the program. An installed program's folder is not
// the user's to write, and words saved there would be lost at every exit: words.txt then
// lives in the user's data folder, made when it is not there yet.

#include <QString>

namespace jabbly {

// The folder for words.txt, ending with "/". `programFolder` ends with "/"; `userDataFolder`
// is the user's data folder for the program (QStandardPaths::AppDataLocation). When the
// user's folder cannot be made either, the program's folder is kept: the save at exit then
// says what went wrong.
QString wordsFolder(const QString &programFolder, const QString &userDataFolder);

// Whether a new file can be made in `folder`: tried, not guessed from permission bits
// (which the superuser passes by, and which say nothing of a read-only file system).
bool canCreateFilesIn(const QString &folder);

}  // namespace jabbly

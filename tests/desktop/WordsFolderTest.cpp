// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Where words.txt is kept: beside a program the user may write to, else in the user's data
// folder, which is made when it is not there yet.
#include "desktop/WordsFolder.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace jabbly;

TEST(WordsFolder, BesideAWritableProgramElseInTheUsersDataFolderMadeOnDemand)
{
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    const QString program = scratch.path() + "/portable/";
    const QString userData = scratch.path() + "/home/.local/share/Orvel Tamsin/Jabbly";
    ASSERT_TRUE(QDir().mkpath(program));

    EXPECT_EQ(wordsFolder(program, userData), program);
    EXPECT_FALSE(QDir(userData).exists());

    // No one may make files in /proc, not even the superuser: an installed program's folder.
    EXPECT_FALSE(canCreateFilesIn("/proc/"));
    EXPECT_EQ(wordsFolder("/proc/", userData), userData + "/");
    EXPECT_TRUE(QDir(userData).exists());
    EXPECT_EQ(wordsFolder("/proc/", userData), userData + "/");  // there already

    // Nowhere to go: the program's folder stays, and the save at exit will say why.
    EXPECT_EQ(wordsFolder("/proc/", "/proc/jabbly-words"), "/proc/");
    EXPECT_EQ(QDir(program).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{});
}

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The copy of the old content that an in-place write keeps, and the next start's
// recovery from it.
#include "safefile/InPlaceWrite.h"
#include "SafeFileTesting.h"
#include "safefile/SafeWrite.h"

#include "WithoutRootRights.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace jabbly::safefile;
using namespace safefile_test;

namespace {

QString copyElsewhereOf(const QString &file, const QString &recoveryFolder)
{
    return QFile::decodeName(QByteArray::fromStdString(
        copyElsewhere(QFile::encodeName(file).toStdString(), QFile::encodeName(recoveryFolder).toStdString()).path()));
}

void writeAt(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

}  // namespace

TEST(InPlaceRecovery, TheCopyBesideIsPutBackAndRemovedAndOnlyOnce)
{
    Scratch dir;
    WriteOptions options;
    options.recoveryFolder = dir.path("recovery");
    EXPECT_EQ(recoverInterruptedWrite(dir.path("words.txt"), options), QString());

    // Cut short half way: the file holds the start of the new content.
    dir.write("words.txt", "new wor");
    ASSERT_EQ(::link(encoded(dir.path("words.txt")).constData(), encoded(dir.path("second.txt")).constData()), 0);
    dir.write(".words.txt.old", "the old\r\ncontent\r\n");
    EXPECT_EQ(recoverInterruptedWrite(dir.path("words.txt"), options), dir.path(".words.txt.old"));
    EXPECT_EQ(dir.read("words.txt"), "the old\r\ncontent\r\n");
    EXPECT_EQ(dir.read("second.txt"), "the old\r\ncontent\r\n");
    EXPECT_EQ(dir.entries(), (QStringList{"second.txt", "words.txt"}));
    EXPECT_EQ(recoverInterruptedWrite(dir.path("words.txt"), options), QString());

    // A file removed since is made again from its copy.
    dir.write(".gone.txt.old", "kept\r\n");
    EXPECT_EQ(recoverInterruptedWrite(dir.path("gone.txt"), options), dir.path(".gone.txt.old"));
    EXPECT_EQ(dir.read("gone.txt"), "kept\r\n");
}

TEST(InPlaceRecovery, ACopyThatIsOutOfDateNeverComesBack)
{
    Scratch dir;
    WriteOptions options;
    options.recoveryFolder = dir.path("recovery");
    // A copy left by an unfinished write guards the next in-place write, which removes
    // it once it has written the whole new content.
    dir.write("words.txt", "half");
    ASSERT_EQ(::link(encoded(dir.path("words.txt")).constData(), encoded(dir.path("second.txt")).constData()), 0);
    dir.write(".words.txt.old", "older\r\n");
    replaceFile(dir.path("words.txt"), "newest\r\n", options);
    EXPECT_EQ(dir.entries(), (QStringList{"second.txt", "words.txt"}));
    EXPECT_EQ(recoverInterruptedWrite(dir.path("words.txt"), options), QString());
    EXPECT_EQ(dir.read("second.txt"), "newest\r\n");

    // A whole new file renamed into place makes any copy out of date too.
    dir.write("plain.txt", "half");
    dir.write(".plain.txt.old", "older\r\n");
    replaceFile(dir.path("plain.txt"), "newest\r\n", options);
    EXPECT_EQ(recoverInterruptedWrite(dir.path("plain.txt"), options), QString());
    EXPECT_EQ(dir.read("plain.txt"), "newest\r\n");
    EXPECT_FALSE(QFileInfo::exists(dir.path(".plain.txt.old")));
}

TEST(InPlaceRecovery, AFolderThatTakesNoNewFileHasItsCopyKeptInTheRecoveryFolder)
{
    Scratch dir;
    ASSERT_TRUE(QDir(dir.path({})).mkdir("locked"));
    ASSERT_TRUE(QDir(dir.path({})).mkdir("recovery"));
    ASSERT_EQ(::chmod(encoded(dir.path("recovery")).constData(), 0777), 0);
    dir.write("locked/words.txt", "old\r\n");
    ASSERT_EQ(::chmod(encoded(dir.path("locked/words.txt")).constData(), 0666), 0);
    ASSERT_EQ(::chmod(encoded(dir.path("locked")).constData(), 0555), 0);
    WriteOptions options;
    options.recoveryFolder = dir.path("recovery");
    const QString copy = copyElsewhereOf(dir.path("locked/words.txt"), options.recoveryFolder);
    EXPECT_TRUE(copy.startsWith(dir.path("recovery/"))) << copy.toStdString();
    if (!dir.unreachable().isEmpty())
        GTEST_SKIP() << dir.unreachable().toStdString();
    {
        jabbly::testing::WithoutRootRights nobody;
        if (!nobody.ok())
            GTEST_SKIP() << nobody.why().toStdString();
        // A write that completes leaves no copy anywhere.
        EXPECT_NO_THROW(replaceFile(dir.path("locked/words.txt"), "new\r\n", options));
        EXPECT_TRUE(dir.entries("recovery").isEmpty());
        // One that was cut short is put back from there.
        writeAt(copy, "the old\r\n");
        EXPECT_EQ(recoverInterruptedWrite(dir.path("locked/words.txt"), options), copy);
    }
    ::chmod(encoded(dir.path("locked")).constData(), 0777);
    EXPECT_EQ(dir.read("locked/words.txt"), "the old\r\n");
    EXPECT_EQ(dir.entries("locked"), QStringList{"words.txt"});
    EXPECT_TRUE(dir.entries("recovery").isEmpty());
}

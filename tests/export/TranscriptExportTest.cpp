// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Export: the transcript's RTF written to the chosen path through the safe replacement.
#include "ui/RtfWriter.h"
#include "ui/TranscriptExport.h"

#include "ErrorNumber.h"
#include "WithoutRootRights.h"
#include "jabbly/error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace jabbly;
using jabbly::testing::errorNumber;

namespace {

class TranscriptExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Anyone may enter, so that a test acting as an unprivileged user still reaches it.
        ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
        doc.setPlainText(QStringLiteral("Jabbly version 2.3.10\nHuman: hello"));
    }

    QString path(const QString &name) const { return dir.filePath(name); }
    QByteArray read(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
    }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_EQ(f.write(bytes), bytes.size());
    }
    QStringList entries(const QString &folder = {}) const
    {
        return QDir(path(folder))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }
    static mode_t modeOf(const QString &p)
    {
        struct stat st {};
        return ::lstat(QFile::encodeName(p).constData(), &st) == 0 ? st.st_mode : 0;
    }

    QTemporaryDir dir;
    QTextDocument doc;
};

TEST_F(TranscriptExportTest, WritesUnderExactlyTheChosenNameAndReplacesAnOldFile)
{
    exportTranscript(doc, path("transcript"));
    EXPECT_EQ(read("transcript"), writeRtf(doc));
    EXPECT_EQ(entries(), QStringList{"transcript"});

    // An old file is replaced and keeps its permissions; nothing is left beside it.
    write("old.rtf", "old content");
    ASSERT_EQ(::chmod(QFile::encodeName(path("old.rtf")).constData(), 0640), 0);
    exportTranscript(doc, path("old.rtf"));
    EXPECT_EQ(read("old.rtf"), writeRtf(doc));
    EXPECT_EQ(modeOf(path("old.rtf")) & 07777, 0640u);
    EXPECT_EQ(entries(), (QStringList{"old.rtf", "transcript"}));
}

TEST_F(TranscriptExportTest, LinksKeepPointingAtTheOneFile)
{
    write("real.rtf", "old");
    ASSERT_TRUE(QFile::link(path("real.rtf"), path("shortcut.rtf")));
    exportTranscript(doc, path("shortcut.rtf"));
    EXPECT_TRUE(S_ISLNK(modeOf(path("shortcut.rtf"))));
    EXPECT_EQ(read("real.rtf"), writeRtf(doc));

    // A file with a second hard link: both names show the new content.
    ASSERT_EQ(::link(QFile::encodeName(path("real.rtf")).constData(), QFile::encodeName(path("again.rtf")).constData()),
              0);
    doc.setPlainText(QStringLiteral("a longer transcript than the one before, so the file grows"));
    exportTranscript(doc, path("again.rtf"));
    EXPECT_EQ(read("real.rtf"), writeRtf(doc));
    EXPECT_EQ(read("again.rtf"), writeRtf(doc));
    doc.setPlainText(QStringLiteral("short"));
    exportTranscript(doc, path("real.rtf"));
    EXPECT_EQ(read("again.rtf"), writeRtf(doc));
    EXPECT_EQ(entries(), (QStringList{"again.rtf", "real.rtf", "shortcut.rtf"}));
}

TEST_F(TranscriptExportTest, AReadOnlyFileOrAFolderIsRefusedAndLeftAsItWas)
{
    // Read-only means: the owner's write permission is off. That holds for root too, which
    // the system would let write anyway.
    write("kept.rtf", "precious");
    ASSERT_EQ(::chmod(QFile::encodeName(path("kept.rtf")).constData(), 0444), 0);
    EXPECT_EQ(errorNumber([&] { exportTranscript(doc, path("kept.rtf")); }), err::PathFileAccess);
    EXPECT_EQ(read("kept.rtf"), "precious");
    EXPECT_EQ(modeOf(path("kept.rtf")) & 07777, 0444u);
    // Neither is a folder replaced, and a missing folder is not made.
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    EXPECT_EQ(errorNumber([&] { exportTranscript(doc, path("folder")); }), err::PathFileAccess);
    EXPECT_EQ(errorNumber([&] { exportTranscript(doc, path("missing/t.rtf")); }), err::PathNotFound);
    EXPECT_EQ(entries(), (QStringList{"folder", "kept.rtf"}));
    EXPECT_TRUE(entries("folder").isEmpty());

    // The message the Export command shows for error 75.
    EXPECT_EQ(exportErrorTitle(), "Export Error");
    EXPECT_EQ(
        exportErrorText(),
        "Cannot export the file.  If you are trying to overwrite a file, make sure that its read-only attribute is "
        "turned off.  Also make sure that no other program is currently using the file.");
}

TEST_F(TranscriptExportTest, AnotherUsersFileInASharedFolderKeepsItsOwnerAndALockedFolderIsError75)
{
    // A shared folder: anyone may make files in it. The old export belongs to someone
    // else, who lets anyone write it.
    ASSERT_TRUE(QDir(dir.path()).mkdir("shared"));
    ASSERT_EQ(::chmod(QFile::encodeName(path("shared")).constData(), 0777), 0);
    write("shared/t.rtf", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path("shared/t.rtf")).constData(), 0666), 0);
    // A folder that takes no new file, with a file in it anyone may write.
    ASSERT_TRUE(QDir(dir.path()).mkdir("locked"));
    write("locked/t.rtf", "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path("locked/t.rtf")).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path("locked")).constData(), 0555), 0);
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(path("shared/t.rtf")).constData(), &before), 0);
    int newFileNumber = 0;
    {
        jabbly::testing::WithoutRootRights nobody;
        ASSERT_TRUE(nobody.ok()) << "cannot act as an unprivileged user";
        if (::geteuid() == before.st_uid)
            GTEST_SKIP() << "the test's files are the unprivileged user's own";
        exportTranscript(doc, path("shared/t.rtf"));
        exportTranscript(doc, path("locked/t.rtf"));
        newFileNumber = errorNumber([&] { exportTranscript(doc, path("locked/new.rtf")); });
    }
    ::chmod(QFile::encodeName(path("locked")).constData(), 0777);
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(path("shared/t.rtf")).constData(), &after), 0);
    EXPECT_EQ(after.st_uid, before.st_uid) << "the export took the file over";
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(read("shared/t.rtf"), writeRtf(doc));
    EXPECT_EQ(read("locked/t.rtf"), writeRtf(doc));
    EXPECT_EQ(newFileNumber, err::PathFileAccess);
    EXPECT_EQ(entries("shared"), QStringList{"t.rtf"});
    EXPECT_EQ(entries("locked"), QStringList{"t.rtf"});
}

}  // namespace

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// List files that cannot be read or written, and inputs at and past the limits.
#include "RowkitTesting.h"

#include "ErrorNumber.h"

#include <QDir>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using jabbly::Error;
using jabbly::ItemListModel;
using jabbly::testing::errorNumber;
using jabbly::testing::systemErrorText;
using namespace rowkit_test;

namespace {

std::optional<Error> errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const Error &e) {
        return e;
    }
    return std::nullopt;
}

// Checks the number and that the message names the path and the reason (for the
// system's reasons, its own words: systemErrorText).
void expectError(const std::function<void()> &f, int number, const QString &path, const QString &reason)
{
    const auto e = errorOf(f);
    ASSERT_TRUE(e.has_value()) << "no error for " << path.toStdString();
    EXPECT_EQ(e->number(), number) << e->message().toStdString();
    EXPECT_TRUE(e->message().contains(path)) << e->message().toStdString();
    EXPECT_TRUE(e->message().contains(reason)) << e->message().toStdString();
}

std::unique_ptr<ItemListModel> threeWords()
{
    auto list = std::make_unique<ItemListModel>(false);
    list->AddItems({"one", "two", "three"});
    return list;
}

}  // namespace

TEST(RowkitListFileErrors, LoadTellsMissingFileFromMissingFolder)
{
    Scratch dir;
    dir.write("plain.txt", "x\r\n");
    ASSERT_TRUE(QDir(dir.path({})).mkdir("folder"));
    const auto list = threeWords();
    auto r = rowkit();

    expectError([&] { r.Listload(*list, dir.path("missing.txt")); }, 53, dir.path("missing.txt"),
                systemErrorText(ENOENT));
    expectError([&] { r.Listload(*list, dir.path("nowhere/words.txt")); }, 76, dir.path("nowhere/words.txt"),
                systemErrorText(ENOENT));
    expectError([&] { r.Listload(*list, dir.path("plain.txt/words.txt")); }, 76, dir.path("plain.txt/words.txt"),
                systemErrorText(ENOTDIR));
    expectError([&] { r.Listload(*list, dir.path("folder")); }, 75, dir.path("folder"), systemErrorText(EISDIR));
    EXPECT_EQ(errorNumber([&] { r.Listload(*list, QString()); }), 53);
    // Only plain files are list files: a device could be read forever, and a pipe
    // without a writer would wait forever.
    EXPECT_EQ(errorNumber([&] { r.Listload(*list, "/dev/zero"); }), 75);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.path("pipe")).constData(), 0600), 0);
    EXPECT_EQ(errorNumber([&] { r.Listload(*list, dir.path("pipe")); }), 75);
    EXPECT_EQ(itemsOf(*list), (QStringList{"one", "two", "three"}));
}

TEST(RowkitListFileErrors, SaveOfAnEmptyListFailsBeforeAnyFileIsTouched)
{
    Scratch dir;
    dir.write("words.txt", "keep\r\n");
    ItemListModel empty(true);
    EXPECT_EQ(errorNumber([&] { rowkit().Listsave(empty, dir.path("words.txt")); }), 380);
    EXPECT_EQ(errorNumber([&] { rowkit().Listsave(empty, dir.path("new.txt")); }), 380);
    EXPECT_EQ(dir.read("words.txt"), "keep\r\n");
    EXPECT_EQ(dir.entries(), QStringList{"words.txt"});
}

TEST(RowkitListFileErrors, SaveThatCannotCreateItsFileLeavesEverythingAsItWas)
{
    Scratch dir;
    dir.write("plain.txt", "old\r\n");
    ASSERT_TRUE(QDir(dir.path({})).mkdir("folder"));
    const auto list = threeWords();
    auto r = rowkit();
    const auto attempt = [&](const QString &name, int number, const QString &reason) {
        SCOPED_TRACE(name.toStdString());
        list->setListIndex(2);
        expectError([&] { r.Listsave(*list, dir.path(name)); }, number, dir.path(name), reason);
        EXPECT_EQ(list->ListIndex(), 0);
        EXPECT_EQ(dir.read("plain.txt"), "old\r\n");
        EXPECT_EQ(dir.entries(), (QStringList{"folder", "plain.txt"}));
        EXPECT_TRUE(dir.entries("folder").isEmpty());
    };
    attempt("folder", 75, systemErrorText(EISDIR));
    // A pipe in place of the file would be replaced by the rename, not written to.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.path("folder/pipe")).constData(), 0600), 0);
    expectError([&] { r.Listsave(*list, dir.path("folder/pipe")); }, 75, dir.path("folder/pipe"),
                QStringLiteral("not a plain file"));
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(dir.path("folder/pipe")).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    ASSERT_TRUE(QFile::remove(dir.path("folder/pipe")));
    attempt("nowhere/words.txt", 76, systemErrorText(ENOENT));
    attempt("plain.txt/words.txt", 76, systemErrorText(ENOTDIR));
    EXPECT_EQ(itemsOf(*list), (QStringList{"one", "two", "three"}));
}

TEST(RowkitListFileErrors, PermissionDeniedIsReportedAndTheOldFileStays)
{
    Scratch dir;
    dir.write("secret.txt", "hidden\r\n");
    dir.write("readonly.txt", "old\r\n");
    dir.write("shared.txt", "old\r\n");
    ASSERT_TRUE(QDir(dir.path({})).mkdir("locked"));
    dir.write("locked/words.txt", "old\r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path("secret.txt")).constData(), 0), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path("readonly.txt")).constData(), 0444), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path("shared.txt")).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path("locked/words.txt")).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path("locked")).constData(), 0555), 0);
    const struct stat lockedBefore = statOf(dir.path("locked/words.txt"));
    const struct stat sharedBefore = statOf(dir.path("shared.txt"));

    const auto list = threeWords();
    auto r = rowkit();  // loaded with the rights that can read the build folder
    if (!dir.unreachable().isEmpty())
        GTEST_SKIP() << dir.unreachable().toStdString();
    {
        WithoutRootRights nobody;
        if (!nobody.ok())
            GTEST_SKIP() << nobody.why().toStdString();
        expectError([&] { r.Listload(*list, dir.path("secret.txt")); }, 70, dir.path("secret.txt"),
                    systemErrorText(EACCES));
        EXPECT_EQ(list->ListCount(), 3);
        // A read-only file in a writable folder: renaming over it would work, but the
        // user said the file is not to be written.
        expectError([&] { r.Listsave(*list, dir.path("readonly.txt")); }, 70, dir.path("readonly.txt"),
                    systemErrorText(EACCES));
        // A writable file in a folder that cannot take a new file is written in place.
        EXPECT_NO_THROW(r.Listsave(*list, dir.path("locked/words.txt")));
        // A new file cannot be made there at all: the folder is what refuses.
        const auto e = errorOf([&] { r.Listsave(*list, dir.path("locked/new.txt")); });
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(e->number(), 70);
        EXPECT_TRUE(e->message().contains(QStringLiteral("'%1'").arg(dir.path("locked"))))
            << e->message().toStdString();
        EXPECT_FALSE(e->message().contains("new.txt")) << e->message().toStdString();
        // A file that someone else owns and lets us write keeps its owner.
        EXPECT_NO_THROW(r.Listsave(*list, dir.path("shared.txt")));
    }
    ::chmod(QFile::encodeName(dir.path("locked")).constData(), 0777);
    EXPECT_EQ(dir.read("readonly.txt"), "old\r\n");
    EXPECT_EQ(dir.read("locked/words.txt"), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(statOf(dir.path("locked/words.txt")).st_ino, lockedBefore.st_ino);
    EXPECT_EQ(dir.entries("locked"), QStringList{"words.txt"});
    EXPECT_EQ(dir.read("shared.txt"), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(statOf(dir.path("shared.txt")).st_uid, sharedBefore.st_uid);
    EXPECT_EQ(statOf(dir.path("shared.txt")).st_mode & 07777, 0666u);
    EXPECT_EQ(dir.entries(), (QStringList{"locked", "readonly.txt", "secret.txt", "shared.txt"}));
}

TEST(RowkitListFileErrors, WriteThatFailsHalfWayLeavesTheOldFile)
{
    Scratch dir;
    dir.write("words.txt", "old\r\n");
    ItemListModel list(false);
    for (int i = 0; i < 500; ++i)
        list.AddItem(QStringLiteral("word number %1").arg(i));
    int number = 0;
    {
        // The first kilobyte goes through, the next write is refused by the system.
        FileSizeLimit limit(1024);
        number = errorNumber([&] { rowkit().Listsave(list, dir.path("words.txt")); });
    }
    EXPECT_EQ(number, 61);
    EXPECT_EQ(dir.read("words.txt"), "old\r\n");
    EXPECT_EQ(dir.entries(), QStringList{"words.txt"});
    EXPECT_EQ(list.ListIndex(), 0);
}

TEST(RowkitListFileErrors, DiskFullOnARealFileSystem)
{
    Scratch dir;
    ASSERT_TRUE(QDir(dir.path({})).mkdir("disk"));
    const QString disk = dir.path("disk");
    const QString report = inPrivateMountNamespace([&]() -> QString {
        const QByteArray mountPoint = QFile::encodeName(disk);
        if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
            return QStringLiteral("SKIP: cannot mount a small tmpfs: ") + QString::fromUtf8(std::strerror(errno));
        QFile old(disk + "/words.txt");
        if (!old.open(QIODevice::WriteOnly) || old.write("old\r\n") != 5)
            return QStringLiteral("cannot write the old file");
        old.close();
        // Fill every remaining block.
        const int fill = ::open((mountPoint + "/filler").constData(), O_WRONLY | O_CREAT, 0600);
        const QByteArray block(4096, 'f');
        while (::write(fill, block.constData(), block.size()) > 0) {}
        while (::write(fill, "f", 1) > 0) {}
        const int fillError = errno;
        ::close(fill);
        if (fillError != ENOSPC)
            return QStringLiteral("filling stopped with: ") + QString::fromUtf8(std::strerror(fillError));

        ItemListModel list(false);
        for (int i = 0; i < 2000; ++i)
            list.AddItem(QStringLiteral("word %1").arg(i));
        const auto e = errorOf([&] { rowkit().Listsave(list, disk + "/words.txt"); });
        QStringList problems;
        if (!e)
            problems << "no error";
        else if (e->number() != 61 || !e->message().contains(systemErrorText(ENOSPC)))
            problems << QStringLiteral("error %1: %2").arg(e->number()).arg(e->message());
        QFile check(disk + "/words.txt");
        if (!check.open(QIODevice::ReadOnly) || check.readAll() != "old\r\n")
            problems << "the old file changed";
        const QStringList left = QDir(disk).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        if (left != QStringList{"filler", "words.txt"})
            problems << "left behind: " + left.join(", ");
        return problems.join("; ");
    });
    if (report.startsWith("SKIP: "))
        GTEST_SKIP() << report.mid(6).toStdString();
    EXPECT_TRUE(report.isEmpty()) << report.toStdString();
}

TEST(RowkitListFileErrors, HugeLinesAndMoreLinesThanAListHolds)
{
    CtypeLocale utf8("C.UTF-8");
    Scratch dir;
    auto r = rowkit();

    // A line of a megabyte is one item and is written back as it was.
    QByteArray huge(1 << 20, 'x');
    huge.replace(1000, 2, "\xC3\xA9");
    dir.write("huge.txt", huge + "\r\nshort");
    ItemListModel one(false);
    r.Listload(one, dir.path("huge.txt"));
    ASSERT_EQ(one.ListCount(), 2);
    EXPECT_EQ(one.List(0).size(), (1 << 20) - 1);
    r.Listsave(one, dir.path("huge-out.txt"));
    EXPECT_EQ(dir.read("huge-out.txt"), huge + "\r\nshort\r\n");

    // 100,000 lines in random order: the list keeps what fits and says why it stopped.
    QStringList lines;
    for (int i = 0; i < 100000; ++i)
        lines << QStringLiteral("line %1").arg(i, 6, 10, QChar('0'));
    std::shuffle(lines.begin(), lines.end(), *QRandomGenerator::global());
    dir.write("many.txt", lines.join("\r\n").toUtf8());

    ItemListModel unsorted(false);
    const auto full = errorOf([&] { r.Listload(unsorted, dir.path("many.txt")); });
    ASSERT_TRUE(full.has_value());
    EXPECT_EQ(full->number(), 6);
    EXPECT_TRUE(full->message().contains("32767")) << full->message().toStdString();
    EXPECT_EQ(itemsOf(unsorted), lines.mid(0, jabbly::ItemList::MaxItems));

    ItemListModel sorted(true);
    sorted.AddItems({"zz", "aa", "line 050000"});
    EXPECT_EQ(errorNumber([&] { r.Listload(sorted, dir.path("many.txt")); }), 6);
    QStringList expected = lines.mid(0, jabbly::ItemList::MaxItems - 3);
    expected << "zz"
             << "aa"
             << "line 050000";
    std::stable_sort(expected.begin(), expected.end(),
                     [](const QString &a, const QString &b) { return jabbly::compareItems(a, b) < 0; });
    EXPECT_EQ(itemsOf(sorted), expected);

    // A full list takes nothing more and is left as it was.
    EXPECT_EQ(errorNumber([&] { r.Listload(sorted, dir.path("huge.txt")); }), 6);
    EXPECT_EQ(sorted.ListCount(), jabbly::ItemList::MaxItems);
}

TEST(RowkitListFileErrors, AHugeSparseFileGivesAClearErrorQuickly)
{
    constexpr off_t Huge = off_t{100} << 30;
    Scratch dir;
    const auto makeSparse = [&](const QString &name, const QByteArray &start) {
        dir.write(name, start);
        return ::truncate(QFile::encodeName(dir.path(name)).constData(), Huge) == 0;
    };
    // Two lines, then 100 GB of NUL bytes without a line end.
    if (!makeSparse("words.txt", "a\r\nb\r\n"))
        GTEST_SKIP() << "no sparse file of 100 GB here: " << std::strerror(errno);
    ItemListModel list(false);
    list.AddItem("kept");
    const auto e = errorOf([&] { rowkit().Listload(list, dir.path("words.txt")); });
    ASSERT_TRUE(e.has_value());
    // Out of string space, not the full list's Overflow (6): callers tell the two apart.
    EXPECT_EQ(e->number(), jabbly::err::OutOfStringSpace);
    EXPECT_TRUE(e->message().contains(dir.path("words.txt"))) << e->message().toStdString();
    EXPECT_TRUE(e->message().contains("line 3")) << e->message().toStdString();
    EXPECT_EQ(itemsOf(list), (QStringList{"kept", "a", "b"}));

    // More lines than a list holds before the sparse part: reading stops at the limit.
    QByteArray lines;
    for (int i = 0; i < 40000; ++i)
        lines += "w" + QByteArray::number(i) + "\r\n";
    ASSERT_TRUE(makeSparse("many.txt", lines));
    ItemListModel many(true);
    EXPECT_EQ(errorNumber([&] { rowkit().Listload(many, dir.path("many.txt")); }), 6);
    EXPECT_EQ(many.ListCount(), jabbly::ItemList::MaxItems);
}

TEST(RowkitListFileErrors, NoFileStaysOpenAfterAnyCall)
{
    Scratch dir;
    dir.write("words.txt", "a\r\nb\r\n");
    ASSERT_TRUE(QDir(dir.path({})).mkdir("folder"));
    auto r = rowkit();
    ItemListModel list(false);
    const int before = openDescriptorCount();
    for (int round = 0; round < 3; ++round) {
        r.Listload(list, dir.path("words.txt"));
        r.Listsave(list, dir.path("copy.txt"));
        errorNumber([&] { r.Listload(list, dir.path("folder")); });
        errorNumber([&] { r.Listload(list, dir.path("missing.txt")); });
        errorNumber([&] { r.Listsave(list, dir.path("folder")); });
        errorNumber([&] { r.Listsave(list, dir.path("nowhere/x.txt")); });
        {
            FileSizeLimit limit(4);
            errorNumber([&] { r.Listsave(list, dir.path("copy.txt")); });
        }
        r.ListFiles(list, dir.path({}));
        errorNumber([&] { r.ListFiles(list, dir.path("missing")); });
        r.ListDrives(list);
    }
    EXPECT_EQ(openDescriptorCount(), before);
    EXPECT_EQ(dir.entries(), (QStringList{"copy.txt", "folder", "words.txt"}));
}

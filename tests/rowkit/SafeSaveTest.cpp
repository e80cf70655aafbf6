// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How a save replaces its file: long names, several names, leftovers of killed saves.
#include "RowkitTesting.h"

#include "ErrorNumber.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using jabbly::ItemListModel;
using jabbly::testing::errorNumber;
using namespace rowkit_test;

namespace {

QByteArray encoded(const QString &path) { return QFile::encodeName(path); }

std::unique_ptr<ItemListModel> wordList(int count, const QString &prefix = QStringLiteral("word"))
{
    auto list = std::make_unique<ItemListModel>(false);
    for (int i = 0; i < count; ++i)
        list->AddItem(QStringLiteral("%1 %2").arg(prefix).arg(i));
    return list;
}

QByteArray fileOf(const ItemListModel &list) { return (itemsOf(list).join("\r\n") + "\r\n").toUtf8(); }

// Saves in a child process that the system kills half way through the write, as a
// kill -9 would: returns the signal that ended it (0 when it was not killed).
int killedSave(ItemListModel &list, const QString &file)
{
    rowkit();  // the library is loaded before the fork
    const pid_t pid = ::fork();
    if (pid == 0) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit small{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &small);
        try {
            rowkit().Listsave(list, file);
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

}  // namespace

TEST(RowkitSafeSave, FilesWithTheLongestNamesAreReplaced)
{
    CtypeLocale utf8("C.UTF-8");
    Scratch dir;
    const long nameMax = ::pathconf(encoded(dir.path({})).constData(), _PC_NAME_MAX);
    ASSERT_GT(nameMax, 40);
    const QStringList names{QString(240, 'w'), QString(nameMax, 'x'), QString(nameMax / 2, QChar(0xE9))};
    for (const QString &name : names) {
        SCOPED_TRACE(name.size());
        const auto first = wordList(3, "first");
        const auto second = wordList(2, "second");
        rowkit().Listsave(*first, dir.path(name));
        rowkit().Listsave(*second, dir.path(name));
        EXPECT_EQ(dir.read(name), fileOf(*second));
        EXPECT_EQ(dir.entries(), QStringList{name});
        ASSERT_TRUE(QFile::remove(dir.path(name)));
    }
}

TEST(RowkitSafeSave, ASaveRemovesWhatKilledSavesLeftAndNothingElse)
{
    Scratch dir;
    const auto list = wordList(500);
    const QStringList targets{"words.txt", QString(250, 'l')};
    for (const QString &name : targets) {
        rowkit().Listsave(*list, dir.path(name));
        EXPECT_EQ(killedSave(*list, dir.path(name)), SIGXFSZ) << "the save was not killed half way";
    }
    QStringList leftovers = dir.entries();
    for (const QString &name : targets)
        leftovers.removeAll(name);
    ASSERT_EQ(leftovers.size(), 2) << leftovers.join(", ").toStdString();

    // An older version's leftover is removed too; names that are not a new file of ours
    // for these targets stay, and so does a new file whose save is still writing it.
    const QStringList others{".words.txt.123.tmp.bak", "words.txt.123.tmp", ".words.txt.12a.tmp", ".other.txt.123.tmp"};
    for (const QString &name : others)
        dir.write(name, "not ours");
    dir.write(".words.txt.3141592653.tmp", "left by an older version");
    dir.write(".words.txt.4242.tmp", "being written");
    const int live = ::open(encoded(dir.path(".words.txt.4242.tmp")).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(live, 0);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);

    for (const QString &name : targets)
        rowkit().Listsave(*list, dir.path(name));
    QStringList expected = targets + others;
    expected << ".words.txt.4242.tmp";
    QStringList entries = dir.entries();
    entries.sort();
    expected.sort();
    EXPECT_EQ(entries, expected);
    for (const QString &name : targets)
        EXPECT_EQ(dir.read(name), fileOf(*list));

    // Once that save is gone, its file is a leftover like any other.
    ::close(live);
    rowkit().Listsave(*list, dir.path("words.txt"));
    EXPECT_FALSE(dir.entries().contains(".words.txt.4242.tmp"));
}

TEST(RowkitSafeSave, AFileWithSeveralNamesIsWrittenInPlaceAfterItsSizeIsReserved)
{
    Scratch dir;
    dir.write("words.txt", "old\r\n");
    ASSERT_EQ(::link(encoded(dir.path("words.txt")).constData(), encoded(dir.path("other name.txt")).constData()), 0);
    const ino_t inode = statOf(dir.path("words.txt")).st_ino;

    const auto three = wordList(3);
    rowkit().Listsave(*three, dir.path("words.txt"));
    for (const char *name : {"words.txt", "other name.txt"})
        EXPECT_EQ(dir.read(name), fileOf(*three)) << name;
    // Shorter content leaves nothing of the longer one behind.
    const auto one = wordList(1, "w");
    rowkit().Listsave(*one, dir.path("other name.txt"));
    EXPECT_EQ(dir.read("words.txt"), "w 0\r\n");
    EXPECT_EQ(statOf(dir.path("words.txt")).st_ino, inode);
    EXPECT_EQ(statOf(dir.path("words.txt")).st_nlink, 2u);

    // More than the system lets us write is found before a byte of the file changes.
    const auto many = wordList(500);
    {
        FileSizeLimit limit(1024);
        EXPECT_EQ(errorNumber([&] { rowkit().Listsave(*many, dir.path("words.txt")); }), 61);
    }
    EXPECT_EQ(dir.read("words.txt"), "w 0\r\n");
    QStringList entries = dir.entries();
    entries.sort();
    EXPECT_EQ(entries, (QStringList{"other name.txt", "words.txt"}));
}

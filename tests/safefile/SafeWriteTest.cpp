// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// How the safe write replaces a file: long names, several names, leftovers of killed
// saves, links, and the attributes a new file must carry over.
#include "SafeFileTesting.h"
#include "safefile/SafeWrite.h"

#include "ErrorNumber.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <optional>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using jabbly::safefile::replaceFile;
using jabbly::testing::errorNumber;
using namespace safefile_test;

namespace {

QByteArray lines(int count, const char *prefix = "word")
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += QByteArray(prefix) + ' ' + QByteArray::number(i) + "\r\n";
    return bytes;
}

std::optional<jabbly::Error> errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const jabbly::Error &e) {
        return e;
    }
    return std::nullopt;
}

// Saves in a child process that the system kills half way through the write, as a
// kill -9 would: returns the signal that ended it (0 when it was not killed).
int killedSave(const QString &file, const QByteArray &bytes)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        std::signal(SIGXFSZ, SIG_DFL);
        const rlimit small{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &small);
        try {
            replaceFile(file, bytes);
        } catch (...) {
        }
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

bool isLink(const QString &path)
{
    struct stat st {};
    return ::lstat(encoded(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

// An ACL in the kernel's format: owner rw, user `uid` rw, group r, mask rw, others none.
QByteArray aclFor(uint32_t uid)
{
    struct Entry {
        uint16_t tag, perm;
        uint32_t id;
    };
    const uint32_t none = UINT32_MAX;
    const Entry entries[] = {{0x01, 6, none}, {0x02, 6, uid}, {0x04, 4, none}, {0x10, 6, none}, {0x20, 0, none}};
    const uint32_t version = 2;
    QByteArray acl(reinterpret_cast<const char *>(&version), sizeof version);
    for (const Entry &e : entries)
        acl.append(reinterpret_cast<const char *>(&e), sizeof e);
    return acl;
}

QStringList attributeNames(const QString &path)
{
    char list[4096];
    const ssize_t n = ::listxattr(encoded(path).constData(), list, sizeof list);
    QStringList names;
    for (const QByteArray &name : QByteArray(list, n > 0 ? int(n) : 0).split('\0'))
        if (!name.isEmpty())
            names << QString::fromLatin1(name);
    names.sort();
    return names;
}

}  // namespace

TEST(SafeWrite, FilesWithTheLongestNamesAreReplaced)
{
    Scratch dir;
    const long nameMax = ::pathconf(encoded(dir.path({})).constData(), _PC_NAME_MAX);
    ASSERT_GT(nameMax, 40);
    const QStringList names{QString(240, 'w'), QString(nameMax, 'x'), QString(nameMax / 2, QChar(0xE9))};
    for (const QString &name : names) {
        SCOPED_TRACE(name.size());
        replaceFile(dir.path(name), lines(3, "first"));
        replaceFile(dir.path(name), lines(2, "second"));
        EXPECT_EQ(dir.read(name), lines(2, "second"));
        EXPECT_EQ(dir.entries(), QStringList{name});
        ASSERT_TRUE(QFile::remove(dir.path(name)));
    }
}

TEST(SafeWrite, ASaveRemovesWhatKilledSavesLeftAndNothingElse)
{
    Scratch dir;
    const QByteArray many = lines(500);
    const QStringList targets{"words.txt", QString(250, 'l')};
    for (const QString &name : targets) {
        replaceFile(dir.path(name), many);
        EXPECT_EQ(killedSave(dir.path(name), many), SIGXFSZ) << "the save was not killed half way";
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
        replaceFile(dir.path(name), many);
    QStringList expected = targets + others;
    expected << ".words.txt.4242.tmp";
    expected.sort();
    EXPECT_EQ(dir.entries(), expected);
    for (const QString &name : targets)
        EXPECT_EQ(dir.read(name), many);

    // Once that save is gone, its file is a leftover like any other.
    ::close(live);
    replaceFile(dir.path("words.txt"), many);
    EXPECT_FALSE(dir.entries().contains(".words.txt.4242.tmp"));
}

TEST(SafeWrite, AFileWithSeveralNamesIsWrittenInPlaceAfterItsSizeIsReserved)
{
    Scratch dir;
    dir.write("words.txt", "old\r\n");
    ASSERT_EQ(::link(encoded(dir.path("words.txt")).constData(), encoded(dir.path("other name.txt")).constData()), 0);
    const ino_t inode = statOf(dir.path("words.txt")).st_ino;

    replaceFile(dir.path("words.txt"), lines(3));
    for (const char *name : {"words.txt", "other name.txt"})
        EXPECT_EQ(dir.read(name), lines(3)) << name;
    // Shorter content leaves nothing of the longer one behind.
    replaceFile(dir.path("other name.txt"), "w 0\r\n");
    EXPECT_EQ(dir.read("words.txt"), "w 0\r\n");
    EXPECT_EQ(statOf(dir.path("words.txt")).st_ino, inode);
    EXPECT_EQ(statOf(dir.path("words.txt")).st_nlink, 2u);

    // More than the system lets us write is found before a byte of the file changes.
    {
        FileSizeLimit limit(1024);
        EXPECT_EQ(errorNumber([&] { replaceFile(dir.path("words.txt"), lines(500)); }), 61);
    }
    EXPECT_EQ(dir.read("words.txt"), "w 0\r\n");
    // Neither a new file nor the copy of the old content is left.
    EXPECT_EQ(dir.entries(), (QStringList{"other name.txt", "words.txt"}));
}

TEST(SafeWrite, LinksKeepTheirPlaceWhereverTheyLead)
{
    Scratch dir;
    // A chain of two links to a file that is not there yet: the file is made at the end.
    ASSERT_TRUE(QDir(dir.path({})).mkdir("synced"));
    ASSERT_EQ(::symlink("synced/second", encoded(dir.path("first")).constData()), 0);
    ASSERT_EQ(::symlink("words.txt", encoded(dir.path("synced/second")).constData()), 0);
    replaceFile(dir.path("first"), "new\r\n");
    EXPECT_TRUE(isLink(dir.path("first")));
    EXPECT_TRUE(isLink(dir.path("synced/second")));
    EXPECT_EQ(dir.read("synced/words.txt"), "new\r\n");

    // Into a folder that is not there: 76, naming that folder, and nothing changes.
    ASSERT_EQ(::symlink("/nonexistent-mount/jabbly/words.txt", encoded(dir.path("away")).constData()), 0);
    const auto e = errorOf([&] { replaceFile(dir.path("away"), "new\r\n"); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->number(), 76);
    EXPECT_TRUE(e->message().contains("'/nonexistent-mount/jabbly'")) << e->message().toStdString();
    EXPECT_TRUE(isLink(dir.path("away")));

    // A loop of links is no file at all.
    ASSERT_EQ(::symlink("loop-b", encoded(dir.path("loop-a")).constData()), 0);
    ASSERT_EQ(::symlink("loop-a", encoded(dir.path("loop-b")).constData()), 0);
    EXPECT_EQ(errorNumber([&] { replaceFile(dir.path("loop-a"), "x"); }), 75);
    EXPECT_TRUE(isLink(dir.path("loop-a")));
    EXPECT_EQ(dir.entries(), (QStringList{"away", "first", "loop-a", "loop-b", "synced"}));
    EXPECT_EQ(dir.entries("synced"), (QStringList{"second", "words.txt"}));
}

TEST(SafeWrite, TheNewFileTakesTheOldOnesAttributesAndNoOthers)
{
    Scratch dir;
    dir.write("words.txt", "old\r\n");
    const QByteArray file = encoded(dir.path("words.txt"));
    if (::setxattr(file.constData(), "user.origin", "by hand", 7, 0) != 0)
        GTEST_SKIP() << "no user attributes here: " << std::strerror(errno);
    const QByteArray acl = aclFor(4242);
    if (::setxattr(file.constData(), "system.posix_acl_access", acl.constData(), size_t(acl.size()), 0) != 0)
        GTEST_SKIP() << "no ACLs here: " << std::strerror(errno);
    const QStringList names = attributeNames(dir.path("words.txt"));

    // The folder gives new files an ACL of its own, which the old file does not have.
    ASSERT_TRUE(QDir(dir.path({})).mkdir("shared"));
    const QByteArray folderAcl = aclFor(777);
    ASSERT_EQ(::setxattr(encoded(dir.path("shared")).constData(), "system.posix_acl_default", folderAcl.constData(),
                         size_t(folderAcl.size()), 0),
              0);
    dir.write("shared/plain.txt", "old\r\n");
    ASSERT_EQ(::removexattr(encoded(dir.path("shared/plain.txt")).constData(), "system.posix_acl_access"), 0);
    ASSERT_EQ(::chmod(encoded(dir.path("shared/plain.txt")).constData(), 0640), 0);

    replaceFile(dir.path("words.txt"), "new\r\n");
    replaceFile(dir.path("shared/plain.txt"), "new\r\n");
    EXPECT_EQ(dir.read("words.txt"), "new\r\n");
    EXPECT_EQ(attributeNames(dir.path("words.txt")), names);
    char value[256];
    const ssize_t n = ::getxattr(file.constData(), "system.posix_acl_access", value, sizeof value);
    EXPECT_EQ(QByteArray(value, n > 0 ? int(n) : 0), acl);
    EXPECT_EQ(::getxattr(file.constData(), "user.origin", value, sizeof value), 7);
    EXPECT_EQ(dir.read("shared/plain.txt"), "new\r\n");
    EXPECT_TRUE(attributeNames(dir.path("shared/plain.txt")).isEmpty())
        << attributeNames(dir.path("shared/plain.txt")).join(", ").toStdString();
    EXPECT_EQ(statOf(dir.path("shared/plain.txt")).st_mode & 07777, 0640u);
    EXPECT_EQ(dir.entries(), (QStringList{"shared", "words.txt"}));
}

TEST(SafeWrite, AReadOnlyFileIsRefusedEvenWhereTheSystemWouldAllowIt)
{
    Scratch dir;
    dir.write("kept.txt", "precious");
    ASSERT_EQ(::chmod(encoded(dir.path("kept.txt")).constData(), 0444), 0);
    EXPECT_EQ(errorNumber([&] { replaceFile(dir.path("kept.txt"), "new"); }), 70);
    EXPECT_EQ(dir.read("kept.txt"), "precious");
    EXPECT_EQ(statOf(dir.path("kept.txt")).st_mode & 07777, 0444u);
    EXPECT_EQ(dir.entries(), QStringList{"kept.txt"});
}

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What a save through the component keeps of the file it replaces: a link whose file is
// not there yet, the file's extended attributes and ACL, and the old content of an
// in-place write that never finished, which the next load puts back.
#include "RowkitTesting.h"

#include "ErrorNumber.h"

#include <QDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

using jabbly::ItemListModel;
using namespace rowkit_test;

namespace {

QByteArray encoded(const QString &path) { return QFile::encodeName(path); }

std::optional<jabbly::Error> errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const jabbly::Error &e) {
        return e;
    }
    return std::nullopt;
}

std::unique_ptr<ItemListModel> words(std::initializer_list<const char *> items)
{
    auto list = std::make_unique<ItemListModel>(false);
    for (const char *item : items)
        list->AddItem(QString::fromUtf8(item));
    return list;
}

bool isLink(const QString &path)
{
    struct stat st {};
    return ::lstat(encoded(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

// An access ACL in the kernel's own format: owner rw, user `uid` rw, group r, mask rw,
// others nothing.
QByteArray accessAcl(uint32_t uid)
{
    struct Entry {
        uint16_t tag, perm;
        uint32_t id;
    };
    const uint32_t none = UINT32_MAX;
    const Entry entries[] = {{0x01, 6, none}, {0x02, 6, uid}, {0x04, 4, none}, {0x10, 6, none}, {0x20, 0, none}};
    QByteArray acl;
    const uint32_t version = 2;
    acl.append(reinterpret_cast<const char *>(&version), sizeof version);
    for (const Entry &e : entries)
        acl.append(reinterpret_cast<const char *>(&e), sizeof e);
    return acl;
}

QByteArray attribute(const QString &path, const char *name)
{
    char value[256];
    const ssize_t n = ::getxattr(encoded(path).constData(), name, value, sizeof value);
    return n < 0 ? QByteArray("<none: ") + std::strerror(errno) + ">" : QByteArray(value, int(n));
}

}  // namespace

TEST(RowkitSaveKeeps, ALinkWhoseFileIsNotThereYetStaysALink)
{
    Scratch dir;
    auto r = rowkit();
    const auto list = words({"apple", "pear"});

    // The link's folder is there: its file is made, the link stays.
    ASSERT_TRUE(QDir(dir.path({})).mkdir("synced"));
    ASSERT_EQ(::symlink("synced/words.txt", encoded(dir.path("words.txt")).constData()), 0);
    r.Listsave(*list, dir.path("words.txt"));
    EXPECT_TRUE(isLink(dir.path("words.txt")));
    EXPECT_EQ(dir.read("synced/words.txt"), "apple\r\npear\r\n");

    // Its folder is not there (a drive that is not mounted): nothing changes, and the
    // error names the missing folder.
    ASSERT_EQ(::symlink(encoded(dir.path("usbstick/jabbly/words.txt")).constData(),
                        encoded(dir.path("away.txt")).constData()),
              0);
    const auto e = errorOf([&] { r.Listsave(*list, dir.path("away.txt")); });
    ASSERT_TRUE(e.has_value());
    EXPECT_EQ(e->number(), 76);
    EXPECT_TRUE(e->message().contains("'" + dir.path("usbstick/jabbly") + "'")) << e->message().toStdString();
    EXPECT_TRUE(isLink(dir.path("away.txt")));
    QStringList entries = dir.entries();
    entries.sort();
    EXPECT_EQ(entries, (QStringList{"away.txt", "synced", "words.txt"}));
}

TEST(RowkitSaveKeeps, ExtendedAttributesAndTheAclSurviveTheSave)
{
    Scratch dir;
    dir.write("words.txt", "old\r\n");
    const QByteArray file = encoded(dir.path("words.txt"));
    if (::setxattr(file.constData(), "user.origin", "typed by hand", 13, 0) != 0)
        GTEST_SKIP() << "no user attributes here: " << std::strerror(errno);
    const QByteArray acl = accessAcl(4242);
    if (::setxattr(file.constData(), "system.posix_acl_access", acl.constData(), size_t(acl.size()), 0) != 0)
        GTEST_SKIP() << "no ACLs here: " << std::strerror(errno);
    const mode_t mode = statOf(dir.path("words.txt")).st_mode & 07777;

    const auto list = words({"new"});
    rowkit().Listsave(*list, dir.path("words.txt"));
    EXPECT_EQ(dir.read("words.txt"), "new\r\n");
    EXPECT_EQ(attribute(dir.path("words.txt"), "user.origin"), "typed by hand");
    EXPECT_EQ(attribute(dir.path("words.txt"), "system.posix_acl_access"), acl);
    EXPECT_EQ(statOf(dir.path("words.txt")).st_mode & 07777, mode);
    EXPECT_EQ(dir.entries(), QStringList{"words.txt"});
}

TEST(RowkitSaveKeeps, TheNextLoadPutsBackWhatAnUnfinishedInPlaceWriteWasReplacing)
{
    Scratch dir;
    // A file with two names is written in place; the write was cut short half way, and
    // the complete old content waits beside it.
    dir.write("words.txt", "apple\r\nbanana\r\ncher");
    ASSERT_EQ(::link(encoded(dir.path("words.txt")).constData(), encoded(dir.path("backup.txt")).constData()), 0);
    dir.write(".words.txt.old", "kiwi\r\nlemon\r\nmango\r\n");

    ItemListModel list(true);
    rowkit().Listload(list, dir.path("words.txt"));
    EXPECT_EQ(itemsOf(list), (QStringList{"kiwi", "lemon", "mango"}));
    EXPECT_EQ(dir.read("words.txt"), "kiwi\r\nlemon\r\nmango\r\n");
    EXPECT_EQ(dir.read("backup.txt"), "kiwi\r\nlemon\r\nmango\r\n");
    EXPECT_EQ(statOf(dir.path("words.txt")).st_nlink, 2u);
    QStringList entries = dir.entries();
    entries.sort();
    EXPECT_EQ(entries, (QStringList{"backup.txt", "words.txt"}));

    // A save in place that completes leaves no copy behind.
    rowkit().Listsave(list, dir.path("backup.txt"));
    entries = dir.entries();
    entries.sort();
    EXPECT_EQ(entries, (QStringList{"backup.txt", "words.txt"}));
}

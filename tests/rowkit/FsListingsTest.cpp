// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Files, folders and drives listed into a list.
#include "RowkitTesting.h"

#include "ErrorNumber.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <sys/mount.h>
#include <sys/stat.h>

using jabbly::ItemListModel;
using jabbly::testing::errorNumber;
using namespace rowkit_test;

namespace {

// The folder's entries in the order the file system gives them.
QStringList enumerationOrder(const QString &folder)
{
    QStringList names;
    DIR *d = ::opendir(QFile::encodeName(folder).constData());
    if (!d)
        return names;
    while (const dirent *e = ::readdir(d)) {
        const QString name = QFile::decodeName(e->d_name);
        if (name != "." && name != "..")
            names << name;
    }
    ::closedir(d);
    return names;
}

QStringList prefixed(const QString &folder, const QStringList &names)
{
    QStringList paths;
    for (const QString &n : names)
        paths << folder + "/" + n;
    return paths;
}

}  // namespace

TEST(RowkitFsListings, FilesAndFoldersOneLevelDeepInEnumerationOrder)
{
    Scratch dir;
    const QString root = dir.path("tree");
    QDir().mkpath(root + "/sub/deeper/deepest");
    QDir().mkpath(root + "/Other folder");
    for (const char *name : {"b.txt", "A.txt", ".hidden", "with space.txt", "sub/inside.txt"})
        dir.write(QString("tree/") + name, "x");
    ASSERT_TRUE(QFile::link(root + "/b.txt", root + "/file-link"));
    ASSERT_TRUE(QFile::link(root + "/sub", root + "/folder-link"));
    ASSERT_TRUE(QFile::link(root + "/gone", root + "/dangling"));

    const QStringList order = enumerationOrder(root);
    QStringList files, folders;
    for (const QString &n : order)
        (QFileInfo(root + "/" + n).isDir() ? folders : files) << n;
    ASSERT_EQ(files.size(), 6);
    ASSERT_EQ(folders.size(), 3);

    auto r = rowkit();
    ItemListModel list(false);
    list.AddItem("already here");
    r.ListFiles(list, root);
    EXPECT_EQ(itemsOf(list), QStringList{"already here"} + prefixed(root, files));

    ItemListModel sub(false);
    r.ListFolders(sub, root + "/");  // a trailing separator changes nothing
    EXPECT_EQ(itemsOf(sub), prefixed(root, folders));

    // A sorted list puts the paths at their sorted places.
    ItemListModel sorted(true);
    sorted.AddItem(root + "/m");
    r.ListFiles(sorted, root);
    r.ListFolders(sorted, root);
    QStringList expected = prefixed(root, order) << root + "/m";
    std::stable_sort(expected.begin(), expected.end(),
                     [](const QString &a, const QString &b) { return jabbly::compareItems(a, b) < 0; });
    EXPECT_EQ(itemsOf(sorted), expected);

    // An empty folder adds nothing; the list keeps what it held.
    QDir().mkpath(root + "/sub/deeper/deepest");
    ItemListModel kept(false);
    kept.AddItem("x");
    r.ListFiles(kept, root + "/sub/deeper/deepest");
    r.ListFolders(kept, root + "/sub/deeper/deepest");
    EXPECT_EQ(itemsOf(kept), QStringList{"x"});

    // A relative folder is listed with full paths.
    const QString cwd = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root));
    ItemListModel relative(false);
    r.ListFolders(relative, "sub");
    QDir::setCurrent(cwd);
    EXPECT_EQ(itemsOf(relative), QStringList{root + "/sub/deeper"});

    // Paths come out tidy: "." and doubled separators go, and ".." is followed on the disk
    // (folder-link/.. is the folder that holds sub, which here is the tree itself).
    ItemListModel tidy(false);
    r.ListFolders(tidy, root + "/./sub//");
    r.ListFolders(tidy, root + "/sub/deeper/..");
    EXPECT_EQ(itemsOf(tidy), (QStringList{root + "/sub/deeper", root + "/sub/deeper"}));
    ItemListModel climbed(false);
    r.ListFolders(climbed, root + "/folder-link/..");
    EXPECT_EQ(itemsOf(climbed), prefixed(QFileInfo(root).canonicalFilePath(), folders));
}

TEST(RowkitFsListings, FolderErrors)
{
    Scratch dir;
    dir.write("file.txt", "x");
    ASSERT_TRUE(QDir(dir.path({})).mkdir("closed"));
    dir.write("closed/inside.txt", "x");
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path("closed")).constData(), 0), 0);

    ItemListModel list(false);
    list.AddItem("x");
    auto r = rowkit();
    EXPECT_EQ(errorNumber([&] { r.ListFiles(list, dir.path("missing")); }), 76);
    EXPECT_EQ(errorNumber([&] { r.ListFolders(list, dir.path("missing/deeper")); }), 76);
    EXPECT_EQ(errorNumber([&] { r.ListFiles(list, dir.path("file.txt")); }), 76);
    EXPECT_EQ(errorNumber([&] { r.ListFolders(list, QString()); }), 76);
    if (!dir.unreachable().isEmpty())
        GTEST_SKIP() << dir.unreachable().toStdString();
    {
        WithoutRootRights nobody;
        if (!nobody.ok())
            GTEST_SKIP() << nobody.why().toStdString();
        // The folder around it can be listed; the closed one cannot.
        ItemListModel around(false);
        r.ListFolders(around, QFileInfo(dir.path("file.txt")).path());
        EXPECT_EQ(itemsOf(around), QStringList{dir.path("closed")});
        EXPECT_EQ(errorNumber([&] { r.ListFiles(list, dir.path("closed")); }), 70);
        EXPECT_EQ(errorNumber([&] { r.ListFolders(list, dir.path("closed")); }), 70);
    }
    ::chmod(QFile::encodeName(dir.path("closed")).constData(), 0700);
    EXPECT_EQ(itemsOf(list), QStringList{"x"});
}

TEST(RowkitFsListings, DrivesAreTheMountPointsInTableOrder)
{
    QFile table("/proc/self/mounts");
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    const int lines = table.readAll().count('\n');

    ItemListModel list(false);
    rowkit().ListDrives(list);
    ASSERT_EQ(list.ListCount(), lines);
    EXPECT_TRUE(itemsOf(list).contains("/"));
    for (const QString &path : itemsOf(list))
        EXPECT_TRUE(QFileInfo::exists(path)) << path.toStdString();

    rowkit().ListDrives(list);
    EXPECT_EQ(list.ListCount(), 2 * lines);
    EXPECT_EQ(itemsOf(list).mid(lines), itemsOf(list).mid(0, lines));
}

TEST(RowkitFsListings, DrivesWithUnusualNamesComeOutAsTheirPaths)
{
    Scratch dir;
    // The mount table escapes these characters; the list must show the real name.
    const QString odd = dir.path("my drive\tback\\slash");
    ASSERT_TRUE(QDir().mkpath(odd));
    const QString report = inPrivateMountNamespace([&]() -> QString {
        if (::mount("tmpfs", QFile::encodeName(odd).constData(), "tmpfs", 0, "size=16k") != 0)
            return QStringLiteral("SKIP: cannot mount a tmpfs: ") + QString::fromUtf8(std::strerror(errno));
        ItemListModel list(false);
        rowkit().ListDrives(list);
        const QStringList drives = itemsOf(list);
        return drives.endsWith(odd) ? QString() : QStringLiteral("last drive is ") + drives.value(drives.size() - 1);
    });
    if (report.startsWith("SKIP: "))
        GTEST_SKIP() << report.mid(6).toStdString();
    EXPECT_TRUE(report.isEmpty()) << report.toStdString();
}

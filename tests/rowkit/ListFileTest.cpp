// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// List files: loading, saving and what they do to the list; character sets.
#include "RowkitTesting.h"

#include "ErrorNumber.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using jabbly::ItemListModel;
using jabbly::testing::errorNumber;
using namespace rowkit_test;

namespace {

template <std::size_t N>
QByteArray bytes(const char (&data)[N])
{
    return QByteArray(data, N - 1);
}

struct FileCase {
    const char *name;
    QByteArray file;
    QStringList items;
    QByteArray saved;  // what saving the loaded list writes
};

}  // namespace

TEST(RowkitListFile, LoadAndSaveFollowTheLineRulesByteForByte)
{
    CtypeLocale utf8("C.UTF-8");
    ASSERT_TRUE(utf8.ok());
    const QString nul(QChar(u'\0'));
    const std::vector<FileCase> cases = {
        {"CR LF", bytes("a\r\nb\r\n"), {"a", "b"}, bytes("a\r\nb\r\n")},
        {"no final line end", bytes("a\r\nb"), {"a", "b"}, bytes("a\r\nb\r\n")},
        {"empty line", bytes("a\r\n\r\n"), {"a", ""}, bytes("a\r\n\r\n")},
        {"only line ends", bytes("\r\n\r\n\r"), {"", "", ""}, bytes("\r\n\r\n\r\n")},
        {"lone CR", bytes("a\rb\r"), {"a", "b"}, bytes("a\r\nb\r\n")},
        {"CR then CR LF", bytes("a\r\r\nb"), {"a", "", "b"}, bytes("a\r\n\r\nb\r\n")},
        {"lone LF stays", bytes("a\nb\nc"), {"a\nb\nc"}, bytes("a\nb\nc\r\n")},
        {"LF CR", bytes("\n\r\n"), {"\n"}, bytes("\n\r\n")},
        {"spaces and tabs", bytes("  two \t\r\n\t"), {"  two \t", "\t"}, bytes("  two \t\r\n\t\r\n")},
        {"UTF-8 text", bytes("naïve £5 日本 😀\r\n"), {"naïve £5 日本 😀"}, bytes("naïve £5 日本 😀\r\n")},
        {"byte-order mark is text",
         bytes("\xEF\xBB\xBFx\r\n"),
         {QString(QChar(0xFEFF)) + "x"},
         bytes("\xEF\xBB\xBFx\r\n")},
        {"NUL bytes", bytes("a\0b\r\n\0\r\n"), {"a" + nul + "b", nul}, bytes("a\0b\r\n\0\r\n")},
    };
    Scratch dir;
    for (const FileCase &c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("in.txt", c.file);
        ItemListModel list(false);
        rowkit().Listload(list, dir.path("in.txt"));
        EXPECT_EQ(itemsOf(list), c.items);

        rowkit().Listsave(list, dir.path("out.txt"));
        EXPECT_EQ(dir.read("out.txt"), c.saved);
        EXPECT_EQ(dir.read("in.txt"), c.file);

        ItemListModel again(false);
        rowkit().Listload(again, dir.path("out.txt"));
        EXPECT_EQ(itemsOf(again), c.items);
    }

    // Nothing in, nothing added; a list whose only item is empty saves as one line end.
    dir.write("empty.txt", {});
    ItemListModel list(false);
    list.AddItem("kept");
    rowkit().Listload(list, dir.path("empty.txt"));
    EXPECT_EQ(itemsOf(list), QStringList{"kept"});
    ItemListModel blank(false);
    blank.AddItem("");
    rowkit().Listsave(blank, dir.path("blank.txt"));
    EXPECT_EQ(dir.read("blank.txt"), bytes("\r\n"));

    // Half a surrogate pair is no character: it is written as the replacement character.
    ItemListModel broken(false);
    broken.AddItem(QString(QChar(0xD800)) + "x");
    rowkit().Listsave(broken, dir.path("broken.txt"));
    EXPECT_EQ(dir.read("broken.txt"), bytes("\xEF\xBF\xBDx\r\n"));

    // An item holding CR LF is written as it is, and so comes back as two items.
    ItemListModel split(false);
    split.AddItems({"one\r\ntwo", "three"});
    rowkit().Listsave(split, dir.path("split.txt"));
    EXPECT_EQ(dir.read("split.txt"), bytes("one\r\ntwo\r\nthree\r\n"));
    ItemListModel reloaded(false);
    rowkit().Listload(reloaded, dir.path("split.txt"));
    EXPECT_EQ(itemsOf(reloaded), (QStringList{"one", "two", "three"}));
}

TEST(RowkitListFile, LoadAddsLikeAddItemOneByOne)
{
    CtypeLocale utf8("C.UTF-8");
    Scratch dir;
    const QStringList lines{"pear", "Apple", "pear", "", "apple", "zoo", "Échelle", "echo", "APPLE"};
    dir.write("words.txt", lines.join("\r\n").toUtf8());

    for (bool sorted : {false, true}) {
        SCOPED_TRACE(sorted ? "sorted" : "unsorted");
        ItemListModel loaded(sorted), expected(sorted);
        for (const char *w : {"mango", "apple", "Pear"}) {
            loaded.AddItem(w);
            expected.AddItem(w);
        }
        loaded.setListIndex(1);
        expected.setListIndex(1);
        for (int round = 0; round < 2; ++round) {
            rowkit().Listload(loaded, dir.path("words.txt"));
            for (const QString &w : lines)
                expected.AddItem(w);
        }
        EXPECT_EQ(itemsOf(loaded), itemsOf(expected));
        EXPECT_EQ(loaded.ListCount(), 3 + 2 * lines.size());
        EXPECT_EQ(loaded.Text(), expected.Text());
    }
}

TEST(RowkitListFile, SaveReplacesTheFileAndSelectsItemZero)
{
    Scratch dir;
    dir.write("words.txt", QByteArray(5000, 'o'));
    const QString file = dir.path("words.txt");
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));

    ItemListModel list(true);
    list.AddItems({"b", "a", "c"});
    list.setListIndex(2);
    std::vector<int> seen;
    list.setSelectionHandler([&] { seen.push_back(list.ListIndex()); });
    rowkit().Listsave(list, file);

    EXPECT_EQ(dir.read("words.txt"), bytes("a\r\nb\r\nc\r\n"));
    EXPECT_EQ(list.ListIndex(), 0);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 0);
    EXPECT_EQ(itemsOf(list), (QStringList{"a", "b", "c"}));
    // The replacement keeps the file's permissions and leaves nothing else behind.
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(dir.entries(), QStringList{"words.txt"});

    // Saving through a symbolic link writes the linked file and keeps the link.
    ASSERT_TRUE(QFile::link(file, dir.path("link.txt")));
    list.AddItem("d");
    rowkit().Listsave(list, dir.path("link.txt"));
    EXPECT_TRUE(QFileInfo(dir.path("link.txt")).isSymLink());
    EXPECT_EQ(dir.read("words.txt"), bytes("a\r\nb\r\nc\r\nd\r\n"));
}

TEST(RowkitListFile, EditReplacesOneItemOrFailsWithoutChange)
{
    auto r = rowkit();
    ItemListModel unsorted(false);
    unsorted.AddItems({"a", "b", "c"});
    r.ListEdit(unsorted, "x", 1);
    EXPECT_EQ(itemsOf(unsorted), (QStringList{"a", "x", "c"}));
    r.ListEdit(unsorted, "last", 2);
    EXPECT_EQ(itemsOf(unsorted), (QStringList{"a", "x", "last"}));

    ItemListModel sorted(true);
    sorted.AddItems({"a", "b", "c"});
    r.ListEdit(sorted, "z", 0);
    EXPECT_EQ(itemsOf(sorted), (QStringList{"b", "c", "z"}));
    r.ListEdit(sorted, "A", 2);
    EXPECT_EQ(itemsOf(sorted), (QStringList{"A", "b", "c"}));

    for (int16_t bad : {int16_t{3}, int16_t{-1}, int16_t{32767}}) {
        EXPECT_EQ(errorNumber([&] { r.ListEdit(sorted, "q", bad); }), 5) << bad;
        EXPECT_EQ(errorNumber([&] { r.ListEdit(unsorted, "q", bad); }), 5) << bad;
    }
    EXPECT_EQ(itemsOf(sorted), (QStringList{"A", "b", "c"}));
    EXPECT_EQ(itemsOf(unsorted), (QStringList{"a", "x", "last"}));
    ItemListModel empty(false);
    EXPECT_EQ(errorNumber([&] { r.ListEdit(empty, "q", 0); }), 5);
    EXPECT_EQ(empty.ListCount(), 0);
}

TEST(RowkitListFile, FilesThatAreNotUtf8LoadAsWindows1252)
{
    CtypeLocale utf8("C.UTF-8");
    ASSERT_TRUE(utf8.ok());
    Scratch dir;
    struct Case {
        const char *name;
        QByteArray file;
        QString item;
    };
    const std::vector<Case> cases = {
        {"pound sign token", bytes("\xA3NAME\xA3 paid \x80 5"), QString::fromUtf8("£NAME£ paid € 5")},
        {"undefined bytes", bytes("\x81\x8D\x8F\x90\x9D"), QString::fromUtf16(u"\u0081\u008D\u008F\u0090\u009D")},
        {"one stray byte spoils the UTF-8", bytes("caf\xC3\xA9 \xFF"), QString::fromUtf8("cafÃ© ÿ")},
        {"sequence cut off at the end", bytes("ok \xE2\x82"), QString::fromUtf8("ok â‚")},
        {"overlong slash", bytes("\xC0\xAF"), QString::fromUtf8("À¯")},
        {"encoded surrogate", bytes("\xED\xA0\x80"), QString::fromUtf8("í\u00A0€")},
        {"smart quotes", bytes("\x93hi\x94 \x96 \x85"), QString::fromUtf8("“hi” – …")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        dir.write("old.txt", c.file + "\r\n");
        ItemListModel list(false);
        rowkit().Listload(list, dir.path("old.txt"));
        EXPECT_EQ(itemsOf(list), QStringList{c.item});
        // Saved again under a UTF-8 locale, the file becomes UTF-8.
        rowkit().Listsave(list, dir.path("new.txt"));
        EXPECT_EQ(dir.read("new.txt"), c.item.toUtf8() + "\r\n");
    }
}

TEST(RowkitListFile, EachLineIsReadAsUtf8WhenItIsUtf8)
{
    CtypeLocale utf8("C.UTF-8");
    ASSERT_TRUE(utf8.ok());
    Scratch dir;
    // One line in Windows-1252 (another program added it) spoils only itself.
    dir.write("mixed.txt", bytes("caf\xC3\xA9\r\nna\xEFve \x80\r\n\xE2\x82\xAC 5\r\nplain"));
    ItemListModel list(false);
    rowkit().Listload(list, dir.path("mixed.txt"));
    EXPECT_EQ(itemsOf(list), (QStringList{QString::fromUtf8("café"), QString::fromUtf8("naïve €"),
                                          QString::fromUtf8("€ 5"), "plain"}));
    rowkit().Listsave(list, dir.path("mixed.txt"));
    EXPECT_EQ(dir.read("mixed.txt"), bytes("caf\xC3\xA9\r\nna\xC3\xAFve \xE2\x82\xAC\r\n\xE2\x82\xAC 5\r\nplain\r\n"));
}

TEST(RowkitListFile, LinesAndCharactersAcrossReadingPiecesComeOutWhole)
{
    // The file is read 64 KiB at a time: a CR LF, a lone CR and a two-byte character each
    // fall on a boundary, and one line spans several pieces.
    QByteArray file(65535, 'a');
    file += "\r\n";
    file += QByteArray(131071 - file.size(), 'b') + "\xC3\xA9"
                                                    "b\r";
    file += QByteArray(196607 - file.size(), 'c') + "\rd";
    const QByteArray longLine(300000, 'e');
    file += "\r\n" + longLine + "\xC3\xA9\r\n";
    const QStringList expected{QString(65535, 'a'), QString(131071 - 65537, 'b') + QString::fromUtf8("éb"),
                               QString(196607 - 131075, 'c'), "d",
                               QString::fromLatin1(longLine) + QString::fromUtf8("é")};
    Scratch dir;
    dir.write("pieces.txt", file);
    const auto check = [&] {
        ItemListModel list(false);
        rowkit().Listload(list, dir.path("pieces.txt"));
        EXPECT_EQ(itemsOf(list), expected);
    };
    {
        CtypeLocale utf8("C.UTF-8");
        check();
    }
    Windows1252Locale cp1252;
    if (!cp1252.ok())
        GTEST_SKIP() << cp1252.why().toStdString();
    check();
}

TEST(RowkitListFile, SingleByteLocaleKeepsEveryByte)
{
    Windows1252Locale cp1252;
    if (!cp1252.ok())
        GTEST_SKIP() << cp1252.why().toStdString();
    Scratch dir;
    // Every byte that is not a line end, including the five Windows-1252 leaves undefined.
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r')
            all += static_cast<char>(b);
    }
    dir.write("all.txt", all + "\r\n\xA3NAME\xA3\r\n");
    ItemListModel list(false);
    rowkit().Listload(list, dir.path("all.txt"));
    ASSERT_EQ(list.ListCount(), 2);
    EXPECT_EQ(list.List(1), QString::fromUtf8("£NAME£"));
    EXPECT_EQ(list.List(0).size(), all.size());
    // Bytes 0x80-0x9F (one place earlier in the item, as CR is not in it).
    EXPECT_EQ(list.List(0).mid(0x80 - 1, 32),
              QString::fromUtf16(u"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ"));
    EXPECT_EQ(list.List(0).mid(0xA0 - 1), QString::fromLatin1(all.mid(0xA0 - 1)));

    rowkit().Listsave(list, dir.path("out.txt"));
    EXPECT_EQ(dir.read("out.txt"), all + "\r\n\xA3NAME\xA3\r\n");

    // A UTF-8 file, such as the delivered reply templates, is still read as UTF-8 and
    // saved in the locale's character set.
    dir.write("templates.txt", bytes("Hi \xC2\xA3NAME\xC2\xA3, caf\xC3\xA9?\r\n"));
    ItemListModel templates(false);
    rowkit().Listload(templates, dir.path("templates.txt"));
    EXPECT_EQ(itemsOf(templates), QStringList{QString::fromUtf8("Hi £NAME£, café?")});
    rowkit().Listsave(templates, dir.path("templates.txt"));
    EXPECT_EQ(dir.read("templates.txt"), bytes("Hi \xA3NAME\xA3, caf\xE9?\r\n"));

    // Characters outside the code page are written as '?'; the rest keep their bytes.
    ItemListModel foreign(false);
    foreign.AddItems({QString::fromUtf8("ω café 😀 €"), QString::fromUtf8("日本")});
    rowkit().Listsave(foreign, dir.path("foreign.txt"));
    EXPECT_EQ(dir.read("foreign.txt"), bytes("? caf\xE9 ? \x80\r\n??\r\n"));
}

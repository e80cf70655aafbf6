// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The list-file reader: the input is a list file. It is loaded by Rowkit's Listload into an
// unsorted and a sorted item list, saved with Listsave and loaded again.
//
// The process stays in the C locale, where list files are UTF-8 and a file that is not
// valid UTF-8 is read as Windows-1252. In both cases a byte CR only ever ends a line, every
// item is whole characters (no lone surrogate), and saving writes UTF-8: so what was loaded
// comes back item for item, whatever the file held. A file that is valid UTF-8 comes back
// byte for byte, apart from its line ends, which are all written CR LF.

#include "FuzzSupport.h"
#include "lists/ItemListModel.h"

#include <QByteArrayView>
#include <QFile>
#include <QStringDecoder>

#include <algorithm>
#include <clocale>

using namespace jabbly;
using namespace jabbly::fuzz;

namespace {

QStringList itemsOf(const ItemList &list)
{
    QStringList items;
    for (int i = 0; i < list.ListCount(); ++i)
        items += list.List(i);
    return items;
}

// The file's lines as bytes: CR LF or a lone CR ends one; a line end at the very end of
// the file starts no further line.
QList<QByteArrayView> linesOf(QByteArrayView bytes)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r')
            continue;
        lines += bytes.sliced(start, i - start);
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines += bytes.sliced(start);
    return lines;
}

// Loads `file` into `list`; a file of more lines than fit fills the list and reports
// Overflow, which is the only failure a readable file may give.
void load(ItemList &list, const QString &file)
{
    try {
        rowkitComponent().Listload(list, file);
    } catch (const Error &e) {
        FUZZ_CHECK(e.number() == err::Overflow && list.ListCount() == ItemList::MaxItems,
                   QStringLiteral("Listload failed with %1 (%2) at %3 items")
                       .arg(e.number())
                       .arg(e.message())
                       .arg(list.ListCount()));
    }
}

// Saves `list` to `file` and loads that into a fresh list of the same kind: the same items,
// in the same order, must come back.
void checkRoundTrip(ItemList &list, bool sorted, const QString &file)
{
    rowkitComponent().Listsave(list, file);
    FUZZ_CHECK(list.ListIndex() == 0, QStringLiteral("Listsave left item %1 selected").arg(list.ListIndex()));
    const QByteArray saved = readFile(file);
    FUZZ_CHECK(QByteArrayView(saved).isValidUtf8(), QStringLiteral("Listsave wrote text that is not UTF-8"));

    ItemListModel again(sorted);
    load(again, file);
    FUZZ_CHECK(itemsOf(again) == itemsOf(list),
               QStringLiteral("saved %1, loaded back %2").arg(show(itemsOf(list)), show(itemsOf(again))));
}

// UTF-8 as a list file reads it: a byte order mark is kept as a character of the item.
QString utf8KeepingBom(QByteArrayView line)
{
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decode(line);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool cLocale = std::setlocale(LC_ALL, "C") != nullptr;
    FUZZ_CHECK(cLocale, QStringLiteral("no C locale"));

    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString file = scratchPath(QStringLiteral("input.txt"));
    const QString savedFile = scratchPath(QStringLiteral("saved.txt"));
    writeFile(file, bytes);

    ItemListModel unsorted(false);
    ItemListModel sorted(true);
    load(unsorted, file);
    load(sorted, file);
    const QStringList items = itemsOf(unsorted);

    const QList<QByteArrayView> lines = linesOf(bytes);
    const qsizetype expectedCount = std::min<qsizetype>(lines.size(), ItemList::MaxItems);
    FUZZ_CHECK(items.size() == expectedCount,
               QStringLiteral("%1 lines loaded as %2 items").arg(lines.size()).arg(items.size()));

    const bool utf8 = QByteArrayView(bytes).isValidUtf8();
    for (qsizetype i = 0; i < items.size(); ++i) {
        const QString &item = items[i];
        FUZZ_CHECK(!item.contains(u'\r'), QStringLiteral("item %1 holds a CR: %2").arg(i).arg(show(item)));
        // Each line is read on its own: as UTF-8 when it is valid UTF-8, else as
        // Windows-1252, which gives one character for each byte.
        if (lines[i].isValidUtf8())
            FUZZ_CHECK(item == utf8KeepingBom(lines[i]),
                       QStringLiteral("UTF-8 line %1 read as %2").arg(i).arg(show(item)));
        else
            FUZZ_CHECK(item.size() == lines[i].size(),
                       QStringLiteral("line %1 of %2 bytes read as %3").arg(i).arg(lines[i].size()).arg(show(item)));
    }

    // The sorted list holds the same items, in the order a stable sort gives.
    QStringList inOrder = items;
    std::stable_sort(inOrder.begin(), inOrder.end(),
                     [](const QString &a, const QString &b) { return compareItems(a, b) < 0; });
    FUZZ_CHECK(itemsOf(sorted) == inOrder,
               QStringLiteral("sorted load %1, expected %2").arg(show(itemsOf(sorted)), show(inOrder)));

    if (items.isEmpty()) {
        // Nothing to save: Listsave refuses before it touches the file.
        QFile::remove(savedFile);
        try {
            rowkitComponent().Listsave(unsorted, savedFile);
            FUZZ_CHECK(false, QStringLiteral("Listsave of an empty list succeeded"));
        } catch (const Error &e) {
            FUZZ_CHECK(e.number() == err::InvalidPropertyValue,
                       QStringLiteral("Listsave of an empty list failed with %1").arg(e.number()));
        }
        FUZZ_CHECK(!QFile::exists(savedFile), QStringLiteral("Listsave of an empty list made a file"));
        return 0;
    }

    checkRoundTrip(unsorted, false, savedFile);
    if (utf8 && lines.size() <= ItemList::MaxItems) {
        QByteArray expected;
        for (const QByteArrayView line : lines)
            expected += line.toByteArray() + "\r\n";
        FUZZ_CHECK(readFile(savedFile) == expected, QStringLiteral("a UTF-8 file was not saved back as it was read"));
    }
    checkRoundTrip(sorted, true, savedFile);

    // Loading again appends: the items twice, as far as they fit.
    load(unsorted, file);
    FUZZ_CHECK(unsorted.ListCount() == std::min<qsizetype>(2 * items.size(), ItemList::MaxItems),
               QStringLiteral("%1 items loaded twice gave %2").arg(items.size()).arg(unsorted.ListCount()));
    return 0;
}

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListPersistence.h"

#include "FileAccess.h"
#include "ListFileFormat.h"
#include "safefile/SafeWrite.h"

#include "jabbly/itemlist.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcRowkitLists, "jabbly.rowkit.lists", QtInfoMsg)

namespace rowkit {

using jabbly::ItemList;
using jabbly::Variant;
namespace args = jabbly::args;

Variant listLoad(std::span<Variant> a)
{
    ItemList &list = args::list(a, 0);
    const QString &file = args::text(a, 1);

    // One line more than fits is enough for the list to report that it is full; the
    // lines that fit stay in it. Reading stops there, however long the file is.
    // An in-place save of this file that was cut short left a copy of the complete old
    // content: that is what the file holds again before it is read.
    const QString restored = jabbly::safefile::recoverInterruptedWrite(file);
    if (!restored.isEmpty())
        qCWarning(lcRowkitLists).noquote()
            << "an earlier save of" << file << "did not finish; its old content was put back from" << restored;

    const qsizetype room = ItemList::MaxItems - list.ListCount();
    ListFileDecoder decoder(room + 1);
    readFileInChunks(file, [&decoder](QByteArrayView chunk) { return decoder.feed(chunk); });
    list.AddItems(decoder.finish());
    // The lines before an over-long one stay, as they would with a full list; the error
    // is not the full list's Overflow (6), which tells callers that the file holds more
    // items than a list can.
    if (const qsizetype line = decoder.tooLongLine())
        throw jabbly::Error(
            jabbly::err::OutOfStringSpace,
            QStringLiteral("Out of string space: '%1': line %2 is longer than %3 bytes, more than a list item may hold")
                // In one call: a path may hold "%2" itself.
                .arg(file, QString::number(line), QString::number(ListFileDecoder::MaxLineBytes)));
    return {};
}

Variant listSave(std::span<Variant> a)
{
    ItemList &list = args::list(a, 0);
    const QString &file = args::text(a, 1);

    // Selecting item 0 fails on an empty list (380) before any file is touched.
    list.setListIndex(0);
    // Each item is read directly rather than by selecting it in turn: the file is the
    // same, and the list is left with item 0 selected either way.
    jabbly::safefile::replaceFile(file, encodeListFile(list));
    list.setListIndex(0);
    return {};
}

Variant listEdit(std::span<Variant> a)
{
    ItemList &list = args::list(a, 0);
    const QString &text = args::text(a, 1);
    const int16_t index = args::int16(a, 2);

    list.RemoveItem(index);  // 5 and no change when the index is outside the list
    if (list.Sorted())
        list.AddItem(text);
    else
        list.AddItem(text, index);
    return {};
}

}  // namespace rowkit

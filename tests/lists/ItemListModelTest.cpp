// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/ItemListModel.h"

#include "ErrorNumber.h"

#include <QSignalSpy>

#include <algorithm>

#include <gtest/gtest.h>

using jabbly::ItemList;
using jabbly::ItemListModel;
using jabbly::testing::errorNumber;

namespace {

QStringList itemsOf(const ItemListModel &m) { return m.items(); }

}  // namespace

TEST(ItemList, SortedInsertionIgnoresCaseAndKeepsEqualItemsInArrivalOrder)
{
    ItemListModel m(true);
    for (const char *w : {"pear", "Apple", "apple", "banana", "APPLE", "Zebra", "ant"})
        m.AddItem(QString::fromLatin1(w));
    EXPECT_EQ(itemsOf(m), (QStringList{"ant", "Apple", "apple", "APPLE", "banana", "pear", "Zebra"}));
}

TEST(ItemList, BatchAddGivesTheSameOrderAsOneByOne)
{
    const QStringList existing{"delta", "Bravo", "x-ray", "bravo"};
    const QStringList batch{"charlie", "BRAVO", "alpha", "delta", "Échelle", "écho", "zulu", "bravo", "", " space"};
    ItemListModel oneByOne(true), batched(true);
    for (const auto &w : existing) {
        oneByOne.AddItem(w);
        batched.AddItem(w);
    }
    oneByOne.setListIndex(2);
    batched.setListIndex(2);
    for (const auto &w : batch)
        oneByOne.AddItem(w);
    batched.AddItems(batch);
    EXPECT_EQ(itemsOf(batched), itemsOf(oneByOne));
    EXPECT_EQ(batched.Text(), oneByOne.Text());
    EXPECT_EQ(batched.ListIndex(), oneByOne.ListIndex());

    // A batch in order already goes in as it is, and stays the caller's, unchanged.
    const QStringList inOrder{"aardvark", "cobra", "cobra", "yak"};
    for (const auto &w : inOrder)
        oneByOne.AddItem(w);
    batched.AddItems(inOrder);
    EXPECT_EQ(itemsOf(batched), itemsOf(oneByOne));
    EXPECT_EQ(inOrder, (QStringList{"aardvark", "cobra", "cobra", "yak"}));
}

TEST(ItemList, CompareMatchesQtCaseInsensitiveOrder)
{
    const QStringList words{"a", "B", "ab", "Ab", "", "é", "É", "e", "z", "_", "[", "1", "Straße", "STRASSE", "ω", "Ω"};
    for (const auto &a : words)
        for (const auto &b : words) {
            const int expected = QString::compare(a, b, Qt::CaseInsensitive);
            const int got = jabbly::compareItems(a, b);
            EXPECT_EQ((expected > 0) - (expected < 0), (got > 0) - (got < 0))
                << a.toStdString() << " vs " << b.toStdString();
        }
}

TEST(ItemList, AnEmptyListTakesABatchWithoutTyingItToTheCaller)
{
    for (bool sorted : {false, true}) {
        const QStringList batch{"a", "b", "c"};
        ItemListModel m(sorted);
        m.AddItems(batch);
        m.AddItem("a2");
        m.RemoveItem(0);
        m.AddItems({"d"});
        EXPECT_EQ(batch, (QStringList{"a", "b", "c"}));
        const QStringList expected = sorted ? QStringList{"a2", "b", "c", "d"} : QStringList{"b", "c", "a2", "d"};
        EXPECT_EQ(itemsOf(m), expected);
    }
}

TEST(ItemList, IndexedAddRemoveAndTheirErrors)
{
    ItemListModel m(false);
    m.AddItem("a");
    m.AddItem("c");
    m.AddItem("b", 1);
    m.AddItem("z", 3);
    EXPECT_EQ(itemsOf(m), (QStringList{"a", "b", "c", "z"}));

    EXPECT_EQ(errorNumber([&] { m.AddItem("x", 5); }), 5);
    EXPECT_EQ(errorNumber([&] { m.AddItem("x", -1); }), 5);
    EXPECT_EQ(errorNumber([&] { m.RemoveItem(4); }), 5);
    EXPECT_EQ(errorNumber([&] { m.RemoveItem(-1); }), 5);
    EXPECT_EQ(m.ListCount(), 4);

    m.RemoveItem(0);
    EXPECT_EQ(itemsOf(m), (QStringList{"b", "c", "z"}));
    EXPECT_EQ(m.List(3), QString());
    EXPECT_EQ(m.List(-1), QString());
}

TEST(ItemList, ListIndexRaisesTheSelectionEventSynchronouslyAndChecksRange)
{
    ItemListModel m(false);
    m.AddItems({"one", "two"});
    int events = 0;
    int16_t seen = -2;
    m.setSelectionHandler([&] {
        ++events;
        seen = m.ListIndex();
    });
    m.setListIndex(1);
    EXPECT_EQ(events, 1);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(m.Text(), "two");
    EXPECT_EQ(m.SelectedTextLength(), 3);

    EXPECT_EQ(errorNumber([&] { m.setListIndex(2); }), 380);
    EXPECT_EQ(errorNumber([&] { m.setListIndex(-2); }), 380);
    EXPECT_EQ(m.ListIndex(), 1);
    EXPECT_EQ(events, 1);

    m.setListIndex(-1);
    EXPECT_EQ(m.Text(), QString());
    EXPECT_EQ(m.SelectedTextLength(), -1);
    EXPECT_EQ(m.SelCount(), -1);
}

TEST(ItemList, SelectionFollowsItsItemWhenOthersComeAndGo)
{
    ItemListModel m(true);
    m.AddItems({"b", "d"});
    m.setListIndex(1);
    m.AddItem("a");
    EXPECT_EQ(m.Text(), "d");
    m.AddItems({"c", "0"});
    EXPECT_EQ(m.Text(), "d");
    m.RemoveItem(0);
    EXPECT_EQ(m.Text(), "d");
    m.RemoveItem(m.ListIndex());
    EXPECT_EQ(m.ListIndex(), -1);
}

TEST(ItemList, HoldsAtMost32767ItemsAndAFullListIsLeftUnchanged)
{
    QStringList many;
    for (int i = 0; i < ItemList::MaxItems + 10; ++i)
        many << QString::number(i);
    ItemListModel sorted(true);
    EXPECT_EQ(errorNumber([&] { sorted.AddItems(many); }), 6);
    EXPECT_EQ(sorted.ListCount(), ItemList::MaxItems);
    EXPECT_EQ(sorted.FindStringExact(QString::number(ItemList::MaxItems - 1)) >= 0, true);
    EXPECT_EQ(sorted.FindStringExact(QString::number(ItemList::MaxItems)), -1);
    EXPECT_EQ(errorNumber([&] { sorted.AddItem("more"); }), 6);
    EXPECT_EQ(errorNumber([&] { sorted.AddItem("more", 0); }), 6);
    EXPECT_EQ(sorted.ListCount(), ItemList::MaxItems);
    EXPECT_EQ(sorted.FindStringExact("more"), -1);
}

TEST(ItemList, SearchOrderTestsItemZeroLast)
{
    for (bool sorted : {false, true}) {
        SCOPED_TRACE(sorted ? "sorted" : "unsorted");
        ItemListModel fruit(sorted);
        fruit.AddItems({"apple", "Apricot", "banana"});
        EXPECT_EQ(fruit.FindString("ap"), 1);
        EXPECT_EQ(fruit.FindString("APP"), 0);
        EXPECT_EQ(fruit.FindString("apple"), 0);
        EXPECT_EQ(fruit.FindString("c"), -1);
        EXPECT_EQ(fruit.FindString("bananas"), -1);

        ItemListModel pets(sorted);
        pets.AddItems({"cat", "dog"});
        EXPECT_EQ(pets.FindStringExact("DOG"), 1);
        EXPECT_EQ(pets.FindStringExact("do"), -1);

        ItemListModel empty(sorted);
        EXPECT_EQ(empty.FindString("a"), -1);
        EXPECT_EQ(empty.FindStringExact("a"), -1);

        ItemListModel one(sorted);
        one.AddItem("x");
        EXPECT_EQ(one.FindStringExact("X"), 0);
        EXPECT_EQ(one.FindString(""), 0);
    }
    ItemListModel xyx(false);
    xyx.AddItems({"x", "y", "x"});
    EXPECT_EQ(xyx.FindStringExact("x"), 2);

    ItemListModel sortedDupes(true);
    sortedDupes.AddItems({"x", "X", "y"});
    EXPECT_EQ(sortedDupes.FindStringExact("x"), 1);
    EXPECT_EQ(sortedDupes.FindStringExact("y"), 2);
}

TEST(ItemList, ViewsAreToldAboutChanges)
{
    ItemListModel m(true);
    QSignalSpy inserted(&m, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&m, &QAbstractItemModel::modelReset);
    m.AddItem("b");
    m.AddItems({"a", "c"});  // two runs: before b and after it
    EXPECT_EQ(inserted.count(), 3);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(m.rowCount(), 3);
    EXPECT_EQ(m.data(m.index(0)).toString(), "a");
}

TEST(ItemList, SearchesStillFindEverythingAfterAnInsertBreaksTheSortedOrder)
{
    ItemListModel m(true);
    m.AddItems({"a", "b", "c"});
    m.AddItem("z", 0);
    m.AddItem("B", 4);
    ASSERT_EQ(m.items(), (QStringList{"z", "a", "b", "c", "B"}));
    EXPECT_EQ(m.FindStringExact("z"), 0);
    EXPECT_EQ(m.FindString("Z"), 0);
    EXPECT_EQ(m.FindStringExact("b"), 2);
    EXPECT_EQ(m.FindStringExact("c"), 3);
    EXPECT_EQ(m.FindStringExact("y"), -1);

    m.AddItems({"m", "a"});
    EXPECT_EQ(m.ListCount(), 7);
    EXPECT_GE(m.FindStringExact("m"), 0);

    // An insert that keeps the order changes nothing for the searches.
    ItemListModel kept(true);
    kept.AddItems({"a", "c"});
    kept.AddItem("b", 1);
    EXPECT_EQ(kept.FindStringExact("c"), 2);
    kept.Clear();
    kept.AddItems({"q", "p"});
    EXPECT_EQ(kept.items(), (QStringList{"p", "q"}));
    EXPECT_EQ(kept.FindStringExact("p"), 0);
}

TEST(ItemList, ABatchGoesInAsRowsWhoseNeighboursAreRightWhenEachIsAnnounced)
{
    ItemListModel m(true);
    m.AddItems({"b", "d", "f", "h"});
    m.setListIndex(2);  // f
    QStringList expected{"a", "b", "c1", "c2", "d", "f", "g", "h", "i"};
    int announced = 0;
    QObject::connect(&m, &QAbstractItemModel::rowsInserted, [&](const QModelIndex &, int first, int last) {
        ++announced;
        // Every row that the view may read now is in place: the new rows and those around them.
        QStringList rows;
        for (int row = 0; row < m.rowCount(); ++row)
            rows << m.data(m.index(row)).toString();
        for (const QString &item : rows)
            EXPECT_TRUE(expected.contains(item)) << item.toStdString();
        EXPECT_TRUE(std::is_sorted(rows.cbegin(), rows.cend()));
        EXPECT_EQ(m.ListCount(), rows.size());
        EXPECT_EQ(m.List(first), rows.at(first));
        EXPECT_EQ(m.Text(), "f");
        EXPECT_GE(last, first);
    });
    QSignalSpy reset(&m, &QAbstractItemModel::modelReset);
    m.AddItems({"i", "c2", "a", "g", "c1"});
    EXPECT_EQ(m.items(), expected);
    EXPECT_EQ(announced, 4);  // a; c1 c2; g; i
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(m.Text(), "f");
    EXPECT_EQ(m.ListIndex(), 5);
}

TEST(ItemList, AnUnindexedAddAfterAnInsertBrokeTheOrderStillFindsAPlace)
{
    // The indexed insert is allowed to put an item out of order; a later sorted add must not
    // rely on the order (a binary search of the standard library may not be used on it).
    ItemListModel m(true);
    m.AddItems({"b", "d", "f"});
    m.AddItem("z", 1);
    m.AddItem("c");
    m.AddItems({"a", "e"});
    EXPECT_EQ(m.ListCount(), 7);
    for (const char *w : {"a", "b", "c", "d", "e", "f", "z"})
        EXPECT_GE(m.FindStringExact(QString::fromLatin1(w)), 0) << w;
    // Each added item sits between neighbours that are in order around it.
    const QStringList items = m.items();
    for (const char *w : {"c", "a", "e"}) {
        const int at = static_cast<int>(items.indexOf(QString::fromLatin1(w)));
        if (at > 0) {
            EXPECT_LE(jabbly::compareItems(items.at(at - 1), items.at(at)), 0) << w;
        }
        if (at + 1 < items.size()) {
            EXPECT_LE(jabbly::compareItems(items.at(at), items.at(at + 1)), 0) << w;
        }
    }
}

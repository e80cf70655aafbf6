// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The list-box queries and the dispatch door itself.
#include "RowkitTesting.h"

#include "ErrorNumber.h"

#include "jabbly/members.h"

#include <gtest/gtest.h>

#include <array>

using jabbly::ItemListModel;
using jabbly::Variant;
using jabbly::testing::errorNumber;
using namespace rowkit_test;
namespace member = jabbly::rowkit;

namespace {

// Calls a member the raw way and insists on a 32-bit integer result.
int32_t query(int32_t number, jabbly::ItemList &list, const QString &text)
{
    std::array<Variant, 2> a{Variant(&list), Variant(text)};
    const Variant result = component().Invoke(number, a);
    EXPECT_TRUE(std::holds_alternative<int32_t>(result));
    return std::holds_alternative<int32_t>(result) ? std::get<int32_t>(result) : -99;
}

}  // namespace

TEST(RowkitQueries, SearchesTestItemZeroLastAndIgnoreLetterCase)
{
    for (bool sorted : {false, true}) {
        SCOPED_TRACE(sorted ? "sorted list" : "unsorted list");
        ItemListModel fruit(sorted);
        fruit.AddItems({"apple", "Apricot", "banana"});
        EXPECT_EQ(query(member::ListFind, fruit, "ap"), 1);
        EXPECT_EQ(query(member::ListFind, fruit, "APP"), 0);
        EXPECT_EQ(query(member::ListFind, fruit, "apple"), 0);
        EXPECT_EQ(query(member::ListFind, fruit, "BAN"), 2);
        EXPECT_EQ(query(member::ListFind, fruit, "apples"), -1);
        EXPECT_EQ(query(member::ListFindExact, fruit, "APRICOT"), 1);
        EXPECT_EQ(query(member::ListFindExact, fruit, "apricot "), -1);

        ItemListModel pets(sorted);
        pets.AddItems({"cat", "dog"});
        EXPECT_EQ(query(member::ListFindExact, pets, "DOG"), 1);
        EXPECT_EQ(query(member::ListFindExact, pets, "do"), -1);

        // Sorting may put "Zèbre" first; the answers follow the items wherever they are.
        ItemListModel accents(sorted);
        accents.AddItems({"élan", "Zèbre"});
        EXPECT_EQ(query(member::ListFindExact, accents, "ÉLAN"), accents.items().indexOf("élan"));
        EXPECT_EQ(query(member::ListFindExact, accents, "elan"), -1);
        EXPECT_EQ(query(member::ListFind, accents, "zÈ"), accents.items().indexOf("Zèbre"));

        ItemListModel empty(sorted);
        EXPECT_EQ(query(member::ListFind, empty, "a"), -1);
        EXPECT_EQ(query(member::ListFindExact, empty, ""), -1);
    }
    ItemListModel xyx(false);
    xyx.AddItems({"x", "y", "x"});
    EXPECT_EQ(rowkit().ListFindExact(xyx, "x"), 2);

    // Equal items sit together in a sorted list; the search still starts after item 0.
    ItemListModel same(true);
    same.AddItems({"Word", "word", "WORD", "zz"});
    EXPECT_EQ(rowkit().ListFindExact(same, "word"), 1);
    EXPECT_EQ(rowkit().ListFind(same, "wo"), 1);
    // The searches do not change the list or its selection.
    EXPECT_EQ(itemsOf(same), (QStringList{"Word", "word", "WORD", "zz"}));
    EXPECT_EQ(same.ListIndex(), -1);
}

TEST(RowkitQueries, MeasurementsAndHorizontalExtent)
{
    ItemListModel list(false);
    auto r = rowkit();
    EXPECT_EQ(r.ListGetTextLen(list), -1);
    list.AddItems(
        {"hello", "", "naïve", QString::fromUtf8("a\U0001F600b\U0001F600"), QString(QChar(0xDC00)) + QChar(0xD800)});
    EXPECT_EQ(r.ListGetTextLen(list), -1);
    list.setListIndex(0);
    EXPECT_EQ(r.ListGetTextLen(list), 5);
    list.setListIndex(1);
    EXPECT_EQ(r.ListGetTextLen(list), 0);
    // Characters, not UTF-16 units: an emoji is one, and so is each half of a broken pair.
    list.setListIndex(2);
    EXPECT_EQ(r.ListGetTextLen(list), 5);
    list.setListIndex(3);
    EXPECT_EQ(r.ListGetTextLen(list), 4);
    list.setListIndex(4);
    EXPECT_EQ(r.ListGetTextLen(list), 2);
    EXPECT_EQ(r.ListGetSelCount(list), -1);

    std::array<Variant, 2> a{Variant(static_cast<jabbly::ItemList *>(&list)), Variant(int16_t{320})};
    EXPECT_TRUE(std::holds_alternative<std::monostate>(component().Invoke(member::ListHoriScroll, a)));
    EXPECT_EQ(list.horizontalExtent(), 320);
    r.ListHoriScroll(list, 0);
    EXPECT_EQ(list.horizontalExtent(), 0);
}

TEST(RowkitDispatch, RefusesUnknownMembersWrongCountsAndWrongTypes)
{
    ItemListModel list(false);
    list.AddItems({"a", "b"});
    jabbly::ItemList *p = &list;

    std::array<Variant, 1> one{Variant(p)};
    EXPECT_EQ(errorNumber([&] { component().Invoke(jabbly::FirstMember - 1, one); }), 438);
    EXPECT_EQ(errorNumber([&] { component().Invoke(member::ListDrives + 1, one); }), 438);
    EXPECT_EQ(errorNumber([&] { component().Invoke(0, one); }), 438);

    // Every member checks its count before anything else.
    for (int32_t m = member::ListHoriScroll; m <= member::ListDrives; ++m) {
        SCOPED_TRACE(m - jabbly::FirstMember);
        std::array<Variant, 4> tooMany{Variant(p), Variant(QString("a")), Variant(int16_t{0}), Variant(int16_t{0})};
        EXPECT_EQ(errorNumber([&] { component().Invoke(m, tooMany); }), 450);
        EXPECT_EQ(errorNumber([&] { component().Invoke(m, std::span<Variant>()); }), 450);
    }

    const auto call = [&](int32_t m, std::initializer_list<Variant> values) {
        std::vector<Variant> a(values);
        return errorNumber([&] { component().Invoke(m, a); });
    };
    EXPECT_EQ(call(member::ListFindExact, {Variant(QString("a")), Variant(QString("a"))}), 13);
    EXPECT_EQ(call(member::ListFindExact, {Variant(static_cast<jabbly::ItemList *>(nullptr)), Variant(QString("a"))}),
              13);
    EXPECT_EQ(call(member::ListFind, {Variant(p), Variant(int32_t{1})}), 13);
    EXPECT_EQ(call(member::ListHoriScroll, {Variant(p), Variant(QString("10"))}), 13);
    EXPECT_EQ(call(member::ListHoriScroll, {Variant(p), Variant(int32_t{70000})}), 6);
    EXPECT_EQ(call(member::ListEdit, {Variant(p), Variant(QString("x")), Variant(true)}), 13);
    EXPECT_EQ(call(member::ListEdit, {Variant(p), Variant(QString("x")), Variant(int32_t{-40000})}), 6);
    EXPECT_EQ(call(member::Listload, {Variant(p), Variant(std::monostate{})}), 13);
    EXPECT_EQ(call(member::ListDrives, {Variant(QString("/"))}), 13);
    EXPECT_EQ(itemsOf(list), (QStringList{"a", "b"}));

    // A 32-bit index that fits is accepted.
    EXPECT_EQ(call(member::ListEdit, {Variant(p), Variant(QString("x")), Variant(int32_t{1})}), 0);
    EXPECT_EQ(itemsOf(list), (QStringList{"a", "x"}));
}

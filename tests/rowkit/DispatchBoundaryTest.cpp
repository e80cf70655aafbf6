// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// What crosses the library boundary: results and error records, never an exception.
#include "RowkitTesting.h"

#include "ErrorNumber.h"

#include "jabbly/members.h"

#include <gtest/gtest.h>

#include <cerrno>

#include <array>
#include <functional>
#include <new>
#include <stdexcept>
#include <vector>

using jabbly::ErrorRecord;
using jabbly::ItemListModel;
using jabbly::Variant;
using namespace rowkit_test;
using jabbly::testing::systemErrorText;
namespace member = jabbly::rowkit;

namespace {

// A list whose selection count fails with whatever the test puts in `fail`.
class FailingList : public ItemListModel {
public:
    FailingList() : ItemListModel(false) {}
    int32_t SelCount() const override
    {
        fail();
        return -1;
    }
    std::function<void()> fail = [] {};
};

}  // namespace

TEST(RowkitDispatch, TheExportedEntryReturnsFailuresAsRecords)
{
    const auto exported = exportedInstance();
    ASSERT_TRUE(exported);
    ItemListModel list(false);
    list.AddItems({"a", "b"});

    std::array<Variant, 2> find{Variant(static_cast<jabbly::ItemList *>(&list)), Variant(QString("B"))};
    Variant result;
    ErrorRecord error;
    EXPECT_TRUE(exported->Invoke(member::ListFindExact, find, result, error));
    EXPECT_EQ(result, Variant(int32_t{1}));
    EXPECT_EQ(error.number, 0);

    const auto failure = [&](int32_t number, std::span<Variant> a) {
        bool ok = true;
        EXPECT_NO_THROW(ok = exported->Invoke(number, a, result, error));
        EXPECT_FALSE(ok);
        return QString::number(error.number) + ' ' + error.message;
    };
    EXPECT_EQ(failure(member::ListDrives + 1, find), "438 Object doesn't support this property or method");
    Scratch dir;
    std::array<Variant, 2> load{Variant(static_cast<jabbly::ItemList *>(&list)), Variant(dir.path("missing.txt"))};
    EXPECT_EQ(failure(member::Listload, load),
              "53 File not found: '" + dir.path("missing.txt") + "': " + systemErrorText(ENOENT));
}

TEST(RowkitDispatch, EveryExceptionBecomesANumberedError)
{
    FailingList list;
    const auto failWith = [&](std::function<void()> fail) {
        list.fail = std::move(fail);
        try {
            rowkit().ListGetSelCount(list);
        } catch (const jabbly::Error &e) {
            return QString::number(e.number()) + ' ' + e.message();
        }
        return QStringLiteral("no error");
    };
    EXPECT_EQ(failWith([] { throw std::bad_alloc(); }), "7 Out of memory");
    // What a container throws when asked for more than it can hold.
    EXPECT_EQ(failWith([] { std::vector<int>().reserve(std::vector<int>().max_size() + 1); }), "7 Out of memory");
    EXPECT_EQ(failWith([] { throw std::runtime_error("the list broke"); }), "51 Internal error: the list broke");
    EXPECT_EQ(failWith([] { throw 42; }), "51 Internal error: an exception of unknown type");
    // The program's own errors keep their number and message.
    EXPECT_EQ(failWith([] { throw jabbly::Error(380, "Invalid property value"); }), "380 Invalid property value");
}

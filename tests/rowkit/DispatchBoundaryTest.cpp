// What crosses the library boundary: results and error records, never an exception.
#include "RowkitTesting.h"

#include "ErrorNumber.h"

#include "jabbly/members.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <new>
#include <stdexcept>
#include <vector>

using jabbly::ErrorRecord;
using jabbly::ItemListModel;
using jabbly::Variant;
using jabbly::testing::errorNumber;
using namespace rowkit_test;
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
        ErrorRecord e;
        Variant r;
        bool ok = true;
        EXPECT_NO_THROW(ok = exported->Invoke(number, a, r, e));
        EXPECT_FALSE(ok);
        return e;
    };
    const ErrorRecord unknown = failure(member::ListDrives + 1, find);
    EXPECT_EQ(unknown.number, 438);
    EXPECT_EQ(unknown.message, "Object doesn't support this property or method");
    EXPECT_EQ(failure(member::ListFind, std::span<Variant>()).number, 450);
    Scratch dir;
    std::array<Variant, 2> load{Variant(static_cast<jabbly::ItemList *>(&list)), Variant(dir.path("missing.txt"))};
    const ErrorRecord missing = failure(member::Listload, load);
    EXPECT_EQ(missing.number, 53);
    EXPECT_TRUE(missing.message.contains(dir.path("missing.txt")));

    // The program's wrapper throws the same error on its own side.
    try {
        rowkit().Listload(list, dir.path("missing.txt"));
        ADD_FAILURE() << "no error";
    } catch (const jabbly::Error &e) {
        EXPECT_EQ(e.number(), missing.number);
        EXPECT_EQ(e.message(), missing.message);
    }
}

TEST(RowkitDispatch, EveryExceptionBecomesANumberedError)
{
    FailingList list;
    const auto failWith = [&](std::function<void()> fail) {
        list.fail = std::move(fail);
        try {
            rowkit().ListGetSelCount(list);
        } catch (const jabbly::Error &e) {
            return e;
        }
        return jabbly::Error(0, {});
    };
    const jabbly::Error noMemory = failWith([] { throw std::bad_alloc(); });
    EXPECT_EQ(noMemory.number(), 7);
    EXPECT_EQ(noMemory.message(), "Out of memory");
    // What a container throws when asked for more than it can hold.
    EXPECT_EQ(failWith([] {
                  std::vector<int> v;
                  v.reserve(v.max_size() + 1);
              }).number(),
              7);
    const jabbly::Error internal = failWith([] { throw std::runtime_error("the list broke"); });
    EXPECT_EQ(internal.number(), 51);
    EXPECT_EQ(internal.message(), "Internal error: the list broke");
    EXPECT_EQ(failWith([] { throw 42; }).number(), 51);
    // The program's own errors keep their number and message.
    const jabbly::Error own = failWith([] { throw jabbly::Error(380, "Invalid property value"); });
    EXPECT_EQ(own.number(), 380);
    EXPECT_EQ(own.message(), "Invalid property value");
    list.fail = [] {};
    EXPECT_EQ(rowkit().ListGetSelCount(list), -1);
}

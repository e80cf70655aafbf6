// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
// The Rowkit component: the dispatch table of its eleven members and the library's one
// exported entry, the factory. The component keeps no state between calls and holds no
// reference to a caller's list after a call.

#include "FsListings.h"
#include "ListPersistence.h"
#include "ListQueries.h"

#include "jabbly/dispatch.h"
#include "jabbly/members.h"

#include <array>
#include <new>
#include <string_view>

namespace rowkit {
namespace {

using jabbly::Variant;
namespace member = jabbly::rowkit;

struct Member {
    int32_t number;
    std::size_t argumentCount;
    Variant (*run)(std::span<Variant>);
};

// In interface order: entry n answers member FirstMember + n.
constexpr std::array<Member, 11> Members{{
    {member::ListHoriScroll, 2, listHoriScroll},
    {member::ListFind, 2, listFind},
    {member::ListFindExact, 2, listFindExact},
    {member::ListGetSelCount, 1, listGetSelCount},
    {member::ListGetTextLen, 1, listGetTextLen},
    {member::Listload, 2, listLoad},
    {member::Listsave, 2, listSave},
    {member::ListEdit, 3, listEdit},
    {member::ListFiles, 2, listFiles},
    {member::ListFolders, 2, listFolders},
    {member::ListDrives, 1, listDrives},
}};

constexpr bool inInterfaceOrder()
{
    for (std::size_t i = 0; i < Members.size(); ++i) {
        if (Members[i].number != jabbly::FirstMember + static_cast<int32_t>(i))
            return false;
    }
    return true;
}
static_assert(inInterfaceOrder(), "the table must follow the member numbers");

class Component final : public jabbly::ExportedDispatch {
public:
    bool Invoke(int32_t number, std::span<Variant> args, Variant &result, jabbly::ErrorRecord &error) noexcept override
    {
        return jabbly::runGuarded(
            [&] {
                const int64_t slot = static_cast<int64_t>(number) - jabbly::FirstMember;
                if (slot < 0 || slot >= static_cast<int64_t>(Members.size()))
                    throw jabbly::Error(jabbly::err::NotSupported,
                                        QStringLiteral("Object doesn't support this property or method"));
                const Member &m = Members[static_cast<std::size_t>(slot)];
                jabbly::args::expectCount(args, m.argumentCount);
                return m.run(args);
            },
            result, error);
    }
};

}  // namespace
}  // namespace rowkit

static_assert(std::string_view(jabbly::RowkitFactory) == "CreateRowkit");

// No exception may leave a C entry: a failed allocation is reported as no instance,
// which the loader turns into "cannot create object" (429).
extern "C" __attribute__((visibility("default"))) jabbly::ExportedDispatch *CreateRowkit()
{
    return new (std::nothrow) rowkit::Component;
}

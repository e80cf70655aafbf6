// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A stand-in for the Rowkit component in tests and benchmarks: answers ListFindExact from
// the list itself (ItemList::FindStringExact) and refuses every other member.

#include "jabbly/dispatch.h"
#include "jabbly/itemlist.h"
#include "jabbly/members.h"

#include <optional>

namespace jabbly::testing {

class FindExactDispatch : public Dispatch {
public:
    Variant Invoke(int32_t member, std::span<Variant> a) override
    {
        if (member != rowkit::ListFindExact)
            throw Error(err::NotSupported, QStringLiteral("Object doesn't support this property or method"));
        args::expectCount(a, 2);
        ++calls;
        if (failure)
            throw *failure;
        return Variant(args::list(a, 0).FindStringExact(args::text(a, 1)));
    }

    long calls = 0;
    std::optional<Error> failure;  // thrown by every lookup when set
};

}  // namespace jabbly::testing

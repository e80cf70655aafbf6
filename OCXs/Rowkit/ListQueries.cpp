// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ListQueries.h"

#include "jabbly/itemlist.h"

namespace rowkit {

using jabbly::Variant;
namespace args = jabbly::args;

// The list-box search order (item 1 to the end, then item 0) and the case-insensitive
// matching belong to the item list, which keeps sorted lists searchable without a scan.

Variant listHoriScroll(std::span<Variant> a)
{
    args::list(a, 0).setHorizontalExtent(args::int16(a, 1));
    return {};
}

Variant listFind(std::span<Variant> a) { return Variant(args::list(a, 0).FindString(args::text(a, 1))); }

Variant listFindExact(std::span<Variant> a) { return Variant(args::list(a, 0).FindStringExact(args::text(a, 1))); }

Variant listGetSelCount(std::span<Variant> a) { return Variant(args::list(a, 0).SelCount()); }

Variant listGetTextLen(std::span<Variant> a) { return Variant(args::list(a, 0).SelectedTextLength()); }

}  // namespace rowkit

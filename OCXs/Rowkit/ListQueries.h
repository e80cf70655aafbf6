// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list-box queries: search and measurement, answered by the item list itself.
// Each takes the dispatch arguments, already counted, and returns the member's result.

#include "jabbly/dispatch.h"

namespace rowkit {

// (List, Width): how far the list's content may scroll sideways, in pixels. No result.
jabbly::Variant listHoriScroll(std::span<jabbly::Variant> args);
// (List, SearchSpec): first item, in list-box search order, that begins with the text.
jabbly::Variant listFind(std::span<jabbly::Variant> args);
// (List, SearchSpec): first item, in list-box search order, equal to the text.
jabbly::Variant listFindExact(std::span<jabbly::Variant> args);
// (List): number of selected items; -1 for a single-selection list.
jabbly::Variant listGetSelCount(std::span<jabbly::Variant> args);
// (List): length of the selected item's text; -1 when nothing is selected.
jabbly::Variant listGetTextLen(std::span<jabbly::Variant> args);

}  // namespace rowkit

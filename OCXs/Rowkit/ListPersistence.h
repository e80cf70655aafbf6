// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lists to and from list files, and editing one item in place.

#include "jabbly/dispatch.h"

namespace rowkit {

// (List, File): adds every line of the file to the list, as AddItem would one by one.
jabbly::Variant listLoad(std::span<jabbly::Variant> args);
// (List, File): writes every item to the file and leaves item 0 selected.
jabbly::Variant listSave(std::span<jabbly::Variant> args);
// (List, TextString, Index): replaces the item at Index.
jabbly::Variant listEdit(std::span<jabbly::Variant> args);

}  // namespace rowkit

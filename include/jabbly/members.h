// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Member numbers of the components' dispatch interfaces, in interface order.

#include "jabbly/dispatch.h"

namespace jabbly {

namespace rowkit {
enum Member : int32_t {
    ListHoriScroll = FirstMember,  // (List, Width)
    ListFind,                      // (List, SearchSpec) -> int32
    ListFindExact,                 // (List, SearchSpec) -> int32
    ListGetSelCount,               // (List) -> int32
    ListGetTextLen,                // (List) -> int32
    Listload,                      // (List, File)
    Listsave,                      // (List, File)
    ListEdit,                      // (List, TextString, Index)
    ListFiles,                     // (List, FolderSpec)
    ListFolders,                   // (List, FolderSpec)
    ListDrives,                    // (List)
};
}  // namespace rowkit

namespace sayline {
enum Member : int32_t {
    ListVoices = FirstMember,  // (Lst, Lips)
    filt,                      // (var) -> text; var rewritten in place
};
}  // namespace sayline

}  // namespace jabbly

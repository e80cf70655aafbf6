// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Filling a list from the file system. Entries are added with the list's AddItems, so a
// sorted list puts them at their sorted places and an unsorted one appends them in the
// order the file system enumerates them. Nothing is filtered: hidden entries (names
// beginning with a dot) are listed like any other.

#include "jabbly/dispatch.h"

namespace rowkit {

// (List, FolderSpec): the full path of every entry directly in the folder that is not a
// folder itself (regular files, links to files, dangling links, devices, pipes, sockets).
jabbly::Variant listFiles(std::span<jabbly::Variant> args);
// (List, FolderSpec): the full path of every folder directly in the folder, including
// links to folders. Not recursive; no trailing separator.
jabbly::Variant listFolders(std::span<jabbly::Variant> args);
// (List): every mount point of the system, in the order of the system's mount table.
jabbly::Variant listDrives(std::span<jabbly::Variant> args);

}  // namespace rowkit

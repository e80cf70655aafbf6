// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names of the new files that replace a file: "." + stem + "." + a number + ".tmp" in
// the target's folder. The stem is the target's name, so that a leftover file shows what
// it belongs to; when that would make the name longer than the folder allows, it is the
// start of the name, "~" and a hash of the whole name, which keeps it particular to its
// target. Names are bytes as the file system keeps them.

#include <cstddef>
#include <cstdint>
#include <string>

namespace jabbly::safefile {

inline constexpr std::size_t MaxNumberDigits = 10;  // a 32-bit number
// What the pattern adds to the stem, at most.
inline constexpr std::size_t NameAdded = 1 + 1 + MaxNumberDigits + 4;
// The hash part of a shortened stem: "~" and 16 hexadecimal digits.
inline constexpr std::size_t HashPart = 1 + 16;

// The longest file name the file system allows in `folder` (empty: the root).
std::size_t longestNameIn(const std::string &folder);

// The stem for the target `name` in a folder whose names may be `nameMax` bytes long.
// The new file's name fits when nameMax is at least NameAdded + HashPart; a stem is never
// cut inside a UTF-8 character.
std::string temporaryStemWithin(const std::string &name, std::size_t nameMax);

// The new file's name for `stem` and `number`.
std::string temporaryName(const std::string &stem, uint32_t number);

// True when `entry` (a name in the folder) is a new file of the target whose stem is `stem`.
bool isTemporaryOf(const char *entry, const std::string &stem);

}  // namespace jabbly::safefile

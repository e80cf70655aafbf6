// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "TemporaryName.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace jabbly::safefile {

std::size_t longestNameIn(const std::string &folder)
{
    const long limit = ::pathconf(folder.empty() ? "/" : folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
}

std::string temporaryStemWithin(const std::string &name, std::size_t nameMax)
{
    if (name.size() + NameAdded <= nameMax)
        return name;
    uint64_t hash = 14695981039346656037ULL;  // FNV-1a: the same on every run
    for (const char c : name) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ULL;
    }
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    std::size_t keep = nameMax > NameAdded + HashPart ? nameMax - NameAdded - HashPart : 0;
    keep = std::min(keep, name.size());
    // Not in the middle of a UTF-8 character, so that the name stays readable.
    while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80)
        --keep;
    return name.substr(0, keep) + '~' + hex;
}

std::string temporaryName(const std::string &stem, uint32_t number)
{
    return '.' + stem + '.' + std::to_string(number) + ".tmp";
}

bool isTemporaryOf(const char *entry, const std::string &stem)
{
    const std::size_t length = std::strlen(entry);
    const std::size_t fixed = 1 + stem.size() + 1 + 4;
    if (length <= fixed || length > fixed + MaxNumberDigits)
        return false;
    if (entry[0] != '.' || std::memcmp(entry + 1, stem.data(), stem.size()) != 0 || entry[1 + stem.size()] != '.' ||
        std::memcmp(entry + length - 4, ".tmp", 4) != 0)
        return false;
    return std::all_of(entry + fixed - 4, entry + length - 4, [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace jabbly::safefile

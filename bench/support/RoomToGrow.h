// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <jabbly/itemlist.h>

#include <QStringList>

#include <algorithm>

namespace jabbly::bench {

// A copy of `words` of its own, with room to grow to a list's limit: what a session's word
// list is like after it has learned for a while, since a list grows by more than it needs at
// a time. A word learned then goes in place, where a list just big enough for its words (or
// one shared with the caller) would first be copied whole, which a session does only now and
// then.
inline QStringList withRoomToGrow(const QStringList &words)
{
    QStringList own;
    own.reserve(std::max<qsizetype>(ItemList::MaxItems, words.size()));
    own.append(words);
    return own;
}

}  // namespace jabbly::bench

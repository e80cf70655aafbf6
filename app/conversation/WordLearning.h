// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Word learning: every word of a user's line that the program has not seen before goes
// into the known words (HidWord) and into the words-added list (lstAI).

#include "jabbly/itemlist.h"

#include <QString>

#include <functional>

namespace jabbly {

class Rowkit;

class WordLearning {
public:
    // lstAI is asked for only when a word is to be added to it, so the words-added window
    // that holds it can be created (hidden) at that moment.
    using ListSource = std::function<ItemList &()>;

    struct Result {
        int added = 0;       // words added to HidWord
        int notLearned = 0;  // new words left out because HidWord is full
    };

    WordLearning(ItemList &HidWord, ListSource lstAI, Rowkit &rowkit);

    // Learns the words of `line` (already lower-cased by the turn). A word is new when
    // ListFindExact on HidWord answers -1 (letter case ignored) and no earlier word of the
    // line was the same word. The new words go into HidWord and then into lstAI, each list
    // taking them in one batch; the lists end up exactly as if each word had been added the
    // moment it was met. New words beyond the room left in HidWord are counted in
    // notLearned (each time they occur) and not added.
    Result learn(const QString &line);

    // The line with "'s" removed, then ' " . , \ [ ] ? ! : ; # ( ) < > { } @ * removed and
    // every / turned into a blank. Its pieces between blanks are the line's words.
    static QString cleanLine(const QString &line);

private:
    struct ItemOrder {
        bool operator()(const QString &a, const QString &b) const;
    };
    void addToLists(const QStringList &added);

    ItemList &HidWord_;
    ListSource lstAI_;
    Rowkit &rowkit_;
};

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reply composition: a reply template drawn from HidCPU, filled in with the user's name,
// with words drawn from HidWord and with random numbers.
//
// Template tokens (the pound sign is U+00A3), n from 1 to 19:
//   £NAME£      the user's name
//   £WORDn£     a known word, one trailing lower-case "s" dropped
//   £WORDPn£    another known word, trailing "s" dropped, in proper case
//   £NUMBERn£   a number from 1 to 10000, written "#,###"

#include "jabbly/itemlist.h"

#include <QLocale>
#include <QString>

#include <optional>

namespace jabbly {

class RandomGenerator;

class ReplyComposer {
public:
    // Learned words may hold tokens themselves, which later passes fill in again, so a reply
    // could grow without end (threefold a pass). A reply grows to at most this many
    // characters: room for a template quoting a 1 MB word. A token whose text would take it
    // further stays as it is; the draws are the same either way.
    static constexpr qsizetype MaxReplyLength = qsizetype{2} * 1024 * 1024;

    // `locale` gives the thousands separator of the numbers.
    ReplyComposer(ItemList &HidWord, ItemList &HidCPU, RandomGenerator &random,
                  const QLocale &locale = QLocale::system());

    // Draws a template (selecting it in HidCPU) and fills it in: "£NAME£" first, then 19
    // passes of £WORDn£, £WORDPn£ and £NUMBERn£. Always 58 draws: one for the template and
    // three per pass. No reply (and no draw) when HidCPU holds no template.
    std::optional<QString> compose(const QString &NameNo);

    void setLocale(const QLocale &locale);

    // The word as a token receives it: one trailing lower-case "s" dropped.
    static QString dropTrailingS(const QString &word);
    // Every word's first character in upper case and the rest in lower case; words are
    // separated by blanks, tabs, line feeds, carriage returns, vertical tabs, form feeds and
    // null characters.
    static QString properCase(const QString &text);
    // "#,###": decimal digits grouped in threes from the right with `separator`.
    static QString formatNumber(int number, const QString &separator);

private:
    ItemList &HidWord_;
    ItemList &HidCPU_;
    RandomGenerator &random_;
    QString groupSeparator_;
};

}  // namespace jabbly

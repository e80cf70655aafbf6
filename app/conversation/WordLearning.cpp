// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversation/WordLearning.h"

#include "components/Components.h"
#include "lists/ItemListModel.h"

#include <set>

namespace jabbly {

WordLearning::WordLearning(ItemList &HidWord, ListSource lstAI, Rowkit &rowkit)
    : HidWord_(HidWord), lstAI_(std::move(lstAI)), rowkit_(rowkit)
{
}

QString WordLearning::cleanLine(const QString &line)
{
    QString text = line;
    text.remove(QStringLiteral("'s"));

    // One pass does what replacing the characters one after another would: no replacement
    // produces a character that a later one would touch.
    QString out;
    out.reserve(text.size());
    for (const QChar c : std::as_const(text)) {
        switch (c.unicode()) {
        case u'\'':
        case u'"':
        case u'.':
        case u',':
        case u'\\':
        case u'[':
        case u']':
        case u'?':
        case u'!':
        case u':':
        case u';':
        case u'#':
        case u'(':
        case u')':
        case u'<':
        case u'>':
        case u'{':
        case u'}':
        case u'@':
        case u'*':
            break;
        case u'/':
            out.append(u' ');
            break;
        default:
            out.append(c);
        }
    }
    return out;
}

// The order in which the item lists sort and find their items: letter case ignored.
bool WordLearning::ItemOrder::operator()(const QString &a, const QString &b) const { return compareItems(a, b) < 0; }

WordLearning::Result WordLearning::learn(const QString &line)
{
    // The new words are collected in the order they are met and added as one batch per list,
    // which gives the same lists as adding each the moment it is met: a word met again (in
    // any letter case) is no longer new once its first occurrence is taken, and when HidWord
    // fills up, the words that fitted are the first ones.
    Result result;
    const qsizetype room = ItemList::MaxItems - HidWord_.ListCount();
    QStringList added;
    std::set<QString, ItemOrder> taken;  // `added`, for lookups in HidWord's letter-case rules

    const QString text = cleanLine(line);
    const auto collect = [&] {
        qsizetype start = 0;
        while (start <= text.size()) {
            qsizetype end = text.indexOf(u' ', start);
            if (end < 0)
                end = text.size();
            if (end > start) {
                const QString piece = text.mid(start, end - start);
                if (!taken.contains(piece) && rowkit_.ListFindExact(HidWord_, piece) == -1) {
                    if (added.size() < room) {
                        added.append(piece);
                        taken.insert(piece);
                    } else {
                        ++result.notLearned;
                    }
                }
            }
            start = end + 1;
        }
    };
    try {
        collect();
    } catch (...) {
        // A failed lookup passes to the caller; the words met before it are learned, as
        // they would have been one at a time.
        addToLists(added);
        throw;
    }
    addToLists(added);
    result.added = static_cast<int>(added.size());
    return result;
}

void WordLearning::addToLists(const QStringList &added)
{
    if (added.isEmpty())
        return;
    HidWord_.AddItems(added);
    ItemList &lstAI = lstAI_();
    // lstAI only shows this run's additions; the words themselves are safe in HidWord even
    // when lstAI has no room left for them.
    const qsizetype room = ItemList::MaxItems - lstAI.ListCount();
    lstAI.AddItems(added.size() <= room ? added : added.mid(0, room));
}

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "lists/ItemListModel.h"

#include "jabbly/error.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace jabbly {

namespace {

Error listFull()
{
    return Error(err::Overflow, QStringLiteral("The list is full: it holds at most %1 items.").arg(ItemList::MaxItems));
}

Error invalidArgument() { return Error(err::InvalidArgument, QStringLiteral("Invalid procedure call or argument")); }

}  // namespace

int compareItems(const QString &a, const QString &b)
{
    const QChar *pa = a.constData();
    const QChar *pb = b.constData();
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        char16_t ca = pa[i].unicode();
        char16_t cb = pb[i].unicode();
        if ((ca | cb) >= 0x80)
            return QString::compare(a, b, Qt::CaseInsensitive);
        // Neighbours in a sorted list share their beginnings.
        if (ca == cb)
            continue;
        if (ca >= 'A' && ca <= 'Z')
            ca += 'a' - 'A';
        if (cb >= 'A' && cb <= 'Z')
            cb += 'a' - 'A';
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

ItemListModel::ItemListModel(bool sorted, QObject *parent) : QAbstractListModel(parent), sorted_(sorted) {}

void ItemListModel::ensureRoom() const
{
    if (items_.size() >= MaxItems)
        throw listFull();
}

int ItemListModel::upperBound(const QString &text, int from) const
{
    int low = from, high = static_cast<int>(items_.size());
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (compareItems(text, items_.at(middle)) < 0)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

int ItemListModel::lowerBound(const QString &text) const
{
    int low = 0, high = static_cast<int>(items_.size());
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (compareItems(items_.at(middle), text) < 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void ItemListModel::AddItem(const QString &text)
{
    ensureRoom();
    const int pos = sorted_ ? upperBound(text) : static_cast<int>(items_.size());
    beginInsertRows({}, pos, pos);
    items_.insert(pos, text);
    if (index_ >= pos)
        ++index_;
    endInsertRows();
}

void ItemListModel::AddItem(const QString &text, int16_t index)
{
    if (index < 0 || index > items_.size())
        throw invalidArgument();
    ensureRoom();
    if (searchable()) {
        const bool afterPrevious = index == 0 || compareItems(items_.at(index - 1), text) <= 0;
        const bool beforeNext = index == items_.size() || compareItems(text, items_.at(index)) <= 0;
        inOrder_ = afterPrevious && beforeNext;
    }
    beginInsertRows({}, index, index);
    items_.insert(index, text);
    if (index_ >= index)
        ++index_;
    endInsertRows();
}

void ItemListModel::AddItems(const QStringList &texts)
{
    const qsizetype room = MaxItems - items_.size();
    const bool overflow = texts.size() > room;
    QStringList batch = overflow ? texts.mid(0, room) : texts;
    if (!batch.isEmpty()) {
        if (searchable()) {
            addSortedBatch(std::move(batch));
        } else if (sorted_) {
            // Out of order already: each text goes where a single AddItem would put it.
            for (const QString &text : std::as_const(batch))
                AddItem(text);
        } else {
            appendBatch(std::move(batch));
        }
    }
    if (overflow)
        throw listFull();
}

void ItemListModel::appendBatch(QStringList batch)
{
    const int first = static_cast<int>(items_.size());
    beginInsertRows({}, first, first + static_cast<int>(batch.size()) - 1);
    // An empty list takes the batch over as it is: when the caller still holds it, the
    // two share one copy, instead of every text being copied one at a time.
    if (items_.isEmpty())
        items_ = std::move(batch);
    else
        items_.append(std::move(batch));
    endInsertRows();
}

// Gives the same order as adding the texts one by one: a stable sort keeps equal new texts
// in their given order, and each new text goes after the equal ones already in the list.
// The texts that land between the same two items go in as one run of rows, the last run
// first, into room made at the end of the list: every item moves once, however many runs
// there are, and the rows before a run are unchanged while it is announced.
void ItemListModel::addSortedBatch(QStringList batch)
{
    const auto less = [](const QString &a, const QString &b) { return compareItems(a, b) < 0; };
    if (!std::is_sorted(batch.cbegin(), batch.cend(), less))
        std::stable_sort(batch.begin(), batch.end(), less);

    if (items_.isEmpty() || compareItems(items_.constLast(), batch.constFirst()) <= 0) {
        appendBatch(std::move(batch));
        return;
    }

    // Each text's place in the list as it is; sorted texts have ascending places.
    const qsizetype count = items_.size();
    QList<int> places(batch.size());
    int from = 0;
    for (qsizetype i = 0; i < batch.size(); ++i)
        from = places[i] = upperBound(batch.at(i), from);

    items_.resize(count + batch.size());
    gapStart_ = count;
    gapSize_ = batch.size();
    // The items move as bytes, which a QString allows: the room's entries start as empty
    // strings, which own nothing, and later hold stale copies of moved items, which are never
    // read, and are only overwritten, by the next move or by a run's new strings.
    static_assert(QTypeInfo<QString>::isRelocatable);
    QString *const items = items_.data();
    for (qsizetype end = batch.size(); end > 0;) {
        const int place = places.at(end - 1);
        qsizetype first = end - 1;
        while (first > 0 && places.at(first - 1) == place)
            --first;
        const int length = static_cast<int>(end - first);
        beginInsertRows({}, place, place + length - 1);
        // The items from the place up to the room move behind it; the run fills the room's
        // last entries, and the rest of the room is now in front of the run.
        std::memmove(static_cast<void *>(items + place + gapSize_), static_cast<const void *>(items + place),
                     (gapStart_ - place) * sizeof(QString));
        gapSize_ -= length;
        gapStart_ = place;
        QString *slot = items + place + gapSize_;
        for (qsizetype i = first; i < end; ++i)
            new (slot++) QString(std::move(batch[i]));
        if (index_ >= place)
            index_ = static_cast<int16_t>(index_ + length);
        endInsertRows();
        end = first;
    }
    gapStart_ = 0;
}

void ItemListModel::RemoveItem(int16_t index)
{
    if (index < 0 || index >= items_.size())
        throw invalidArgument();
    beginRemoveRows({}, index, index);
    items_.removeAt(index);
    if (items_.isEmpty())
        inOrder_ = true;
    if (index_ == index)
        index_ = -1;
    else if (index_ > index)
        --index_;
    endRemoveRows();
}

void ItemListModel::Clear()
{
    beginResetModel();
    items_.clear();
    inOrder_ = true;
    index_ = -1;
    endResetModel();
}

void ItemListModel::setListIndex(int16_t index)
{
    if (index < -1 || index >= items_.size())
        throw Error(err::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    index_ = index;
    Q_EMIT listIndexChanged(index);
    if (onSelection_)
        onSelection_();
}

QString ItemListModel::List(int index) const
{
    if (index < 0 || index >= ListCount())
        return {};
    return items_.at(stored(index));
}

int32_t ItemListModel::firstInSearchOrder(int first, int last)
{
    if (first >= last)
        return -1;
    if (first == 0)
        return last > 1 ? 1 : 0;
    return first;
}

template <typename Match>
int32_t ItemListModel::scan(Match matches) const
{
    for (int i = 1; i < items_.size(); ++i) {
        if (matches(items_.at(i)))
            return i;
    }
    if (!items_.isEmpty() && matches(items_.at(0)))
        return 0;
    return -1;
}

int32_t ItemListModel::FindString(const QString &prefix) const
{
    const auto startsWith = [&](const QString &item) { return item.startsWith(prefix, Qt::CaseInsensitive); };
    if (!searchable())
        return scan(startsWith);
    // Items that begin with the prefix form one run that starts at the prefix's lower bound.
    const int first = lowerBound(prefix);
    const auto runEnd = std::partition_point(items_.cbegin() + first, items_.cend(), startsWith);
    return firstInSearchOrder(first, static_cast<int>(runEnd - items_.cbegin()));
}

int32_t ItemListModel::FindStringExact(const QString &text) const
{
    if (!searchable())
        return scan([&](const QString &item) { return compareItems(item, text) == 0; });
    return firstInSearchOrder(lowerBound(text), upperBound(text));
}

int32_t ItemListModel::SelectedTextLength() const
{
    if (index_ < 0)
        return -1;
    // Characters, not UTF-16 units: a surrogate pair is one character (a half of one on
    // its own counts as one too).
    const QString &text = items_.at(stored(index_));
    qsizetype pairs = 0;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && text.at(i + 1).isLowSurrogate()) {
            ++pairs;
            ++i;
        }
    }
    return static_cast<int32_t>(text.size() - pairs);
}

void ItemListModel::setHorizontalExtent(int width)
{
    horizontalExtent_ = width;
    Q_EMIT horizontalExtentChanged(width);
}

int ItemListModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : ListCount(); }

QVariant ItemListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= ListCount())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return items_.at(stored(index.row()));
    if (fullTextTips_ && (role == Qt::ToolTipRole || role == Qt::AccessibleTextRole))
        return items_.at(stored(index.row()));
    return {};
}

}  // namespace jabbly

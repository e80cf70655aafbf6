// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The item list behind every list of the program, hidden or shown. Views (QListView,
// QComboBox) display it through the Qt model interface; the program and the components
// use it through jabbly::ItemList.

#include "jabbly/itemlist.h"

#include <QAbstractListModel>
#include <QStringList>

namespace jabbly {

// Case-insensitive order of sorted lists; the same result as
// QString::compare(a, b, Qt::CaseInsensitive), with a fast path for ASCII text.
int compareItems(const QString &a, const QString &b);

class ItemListModel : public QAbstractListModel, public ItemList {
    Q_OBJECT
public:
    explicit ItemListModel(bool sorted, QObject *parent = nullptr);

    // ItemList
    void AddItem(const QString &text) override;
    void AddItem(const QString &text, int16_t index) override;
    void AddItems(const QStringList &texts) override;
    void RemoveItem(int16_t index) override;
    void Clear() override;
    int16_t ListCount() const override { return static_cast<int16_t>(items_.size()); }
    int16_t ListIndex() const override { return index_; }
    void setListIndex(int16_t index) override;
    QString Text() const override { return List(index_); }
    QString List(int index) const override;
    bool Sorted() const override { return sorted_; }
    int32_t FindString(const QString &prefix) const override;
    int32_t FindStringExact(const QString &text) const override;
    int32_t SelCount() const override { return -1; }
    int32_t SelectedTextLength() const override;
    void setHorizontalExtent(int width) override;
    int horizontalExtent() const override { return horizontalExtent_; }
    void setSelectionHandler(SelectionHandler handler) override { onSelection_ = std::move(handler); }

    const QStringList &items() const { return items_; }

    // Each item's whole text also as its tooltip and its accessible name: for a list that
    // shows its items too narrow to be read in full.
    void setFullTextTips(bool on) { fullTextTips_ = on; }

    // QAbstractListModel
    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    void listIndexChanged(int index);
    void horizontalExtentChanged(int width);

private:
    void ensureRoom() const;
    int upperBound(const QString &text) const;
    int lowerBound(const QString &text) const;
    // Applies the list box's search order (item 1 first, item 0 last) to the matching
    // range [first, last) of a sorted list.
    static int32_t firstInSearchOrder(int first, int last);
    template <typename Match>
    int32_t scan(Match matches) const;
    void appendBatch(QStringList batch);
    void addSortedBatch(QStringList batch);

    // Whether binary search can be used: a sorted list whose items really are in order.
    // Inserting at a chosen index can break the order; searches then scan the list.
    bool searchable() const { return sorted_ && inOrder_; }

    QStringList items_;
    bool sorted_;
    bool inOrder_ = true;
    int16_t index_ = -1;
    int horizontalExtent_ = 0;
    bool fullTextTips_ = false;
    SelectionHandler onSelection_;
};

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ListViewBinding.h"

#include "ui/Logging.h"
#include "lists/ItemListModel.h"
#include "jabbly/error.h"

#include <QItemSelectionModel>
#include <QListView>

namespace jabbly {

void bindListView(QListView &view, ItemListModel &list)
{
    view.setModel(&list);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setUniformItemSizes(true);
    // A list given a horizontal extent scrolls sideways to its longest item: the items are
    // then laid out at their own widths (not all at the first one's), which the scroll bar
    // spans; an extent of 0 takes the scroll bar away.
    QObject::connect(&list, &ItemListModel::horizontalExtentChanged, &view, [&view](int width) {
        view.setUniformItemSizes(width <= 0);
        view.setHorizontalScrollBarPolicy(width > 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    });

    QObject::connect(&list, &ItemListModel::listIndexChanged, &view, [&view, &list](int index) {
        const QModelIndex target = list.index(index);
        if (view.currentIndex() != target || !view.selectionModel()->isSelected(target))
            view.selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    });
    // A click or a key selects an item; a view that only moves its focus frame (as it does
    // when it first gets the keyboard focus) chooses nothing.
    QObject::connect(view.selectionModel(), &QItemSelectionModel::selectionChanged, &list,
                     [&view, &list](const QItemSelection &selected) {
                         if (selected.indexes().isEmpty())
                             return;
                         const int row = view.selectionModel()->selectedRows().value(0).row();
                         if (row >= 0 && row != list.ListIndex())
                             chooseFromView(list, row);
                     });
}

void chooseFromView(ItemListModel &list, int row)
{
    try {
        list.setListIndex(static_cast<int16_t>(row));
    } catch (const Error &error) {
        qCWarning(lcLists).noquote() << "choosing item" << row << "failed:" << error.message() << "(error"
                                     << error.number() << ")";
    }
}

}  // namespace jabbly

#include "ListViewBinding.h"

#include "ItemListModel.h"

#include <QItemSelectionModel>
#include <QListView>

namespace jabbly {

void bindListView(QListView &view, ItemListModel &list)
{
    view.setModel(&list);
    view.setSelectionMode(QAbstractItemView::SingleSelection);
    view.setEditTriggers(QAbstractItemView::NoEditTriggers);
    view.setUniformItemSizes(true);

    QObject::connect(&list, &ItemListModel::listIndexChanged, &view, [&view, &list](int index) {
        const QModelIndex target = list.index(index);
        if (view.currentIndex() != target || !view.selectionModel()->isSelected(target))
            view.selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    });
    QObject::connect(view.selectionModel(), &QItemSelectionModel::currentChanged, &list,
                     [&list](const QModelIndex &current) {
                         if (current.isValid() && current.row() != list.ListIndex())
                             list.setListIndex(static_cast<int16_t>(current.row()));
                     });
}

}  // namespace jabbly

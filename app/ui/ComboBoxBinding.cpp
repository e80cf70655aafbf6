// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/ComboBoxBinding.h"

#include "lists/ItemListModel.h"
#include "ui/ListViewBinding.h"

#include <QComboBox>

namespace jabbly {

void bindComboBox(QComboBox &box, ItemListModel &list)
{
    box.setModel(&list);
    box.setEditable(false);
    box.setCurrentIndex(list.ListIndex());

    QObject::connect(&list, &ItemListModel::listIndexChanged, &box, [&box](int index) {
        if (box.currentIndex() != index)
            box.setCurrentIndex(index);
    });
    // The user's choices only (click, keys, wheel): a combo box also moves its current index
    // by itself when its model fills, which is no choice.
    QObject::connect(&box, &QComboBox::activated, &list, [&list](int index) {
        if (index >= 0 && index != list.ListIndex())
            chooseFromView(list, index);
    });
}

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QComboBox;

namespace jabbly {

class ItemListModel;

// Shows an item list in a drop-down list and keeps their selections in step both ways, as
// bindListView does for list views: the user's choice sets the list's ListIndex (raising
// its selection event), and a ListIndex set from code moves the drop-down's selection.
void bindComboBox(QComboBox &box, ItemListModel &list);

}  // namespace jabbly

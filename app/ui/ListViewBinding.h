// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QListView;

namespace jabbly {

class ItemListModel;

// Shows an item list in a list view and keeps their selections in step both ways: a click
// sets the list's ListIndex (raising its selection event), and a ListIndex set from code
// moves the view's selection.
void bindListView(QListView &view, ItemListModel &list);

// Selects item `row` of `list` as the user's choice in a view: its selection event runs, and
// an error from it is logged rather than let out into Qt's event loop.
void chooseFromView(ItemListModel &list, int row);

}  // namespace jabbly

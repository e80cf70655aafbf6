// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words-added window: the words learned since the program started (or since this
// window was last closed), in alphabetical order. Closing it discards its list.

#include "lists/ItemListModel.h"

#include <QWidget>

class QListView;

namespace jabbly {

class frmAddeditems : public QWidget {
    Q_OBJECT
public:
    explicit frmAddeditems(QWidget *owner);

    ItemListModel &lstAI() { return lstAI_; }
    QListView *view() const { return view_; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    ItemListModel lstAI_{true};
    QListView *view_;
};

}  // namespace jabbly

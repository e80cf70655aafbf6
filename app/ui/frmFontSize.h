// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font and size window: the display's font families on the left, point sizes 1 to 500
// on the right. A click sets the font or the size of the whole transcript (and the font of
// the two text boxes); nothing is stored.

#include "lists/ItemListModel.h"

#include <QWidget>

class QLineEdit;
class QListView;

namespace jabbly {

class TextEditTranscript;

class frmFontSize : public QWidget {
    Q_OBJECT
public:
    // Loads the window, hidden: fills both lists and selects size 11, which sets the whole
    // transcript to 11 point.
    frmFontSize(QWidget *owner, TextEditTranscript &WW, QLineEdit *Name1, QLineEdit *Say1);

    ItemListModel &lstFont() { return lstFont_; }
    ItemListModel &lstSize() { return lstSize_; }
    QListView *lstFontView() const { return lstFontView_; }
    QListView *lstSizeView() const { return lstSizeView_; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void lstFont_Click();
    void lstSize_Click();

    TextEditTranscript &WW_;
    QLineEdit *Name1_;
    QLineEdit *Say1_;
    ItemListModel lstFont_{true};
    ItemListModel lstSize_{false};
    QListView *lstFontView_;
    QListView *lstSizeView_;
};

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/KeptSelection.h"

#include <QEvent>
#include <QLineEdit>

namespace jabbly {

namespace {

class SelectionKeeper : public QObject {
public:
    explicit SelectionKeeper(QLineEdit &box) : QObject(&box), box_(box) {}

protected:
    // Runs before the box's own focus handlers: on the way out the selection is still there.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != &box_)
            return false;
        if (event->type() == QEvent::FocusOut)
            remember();
        else if (event->type() == QEvent::FocusIn)
            restore();
        return false;
    }

private:
    void remember()
    {
        kept_ = box_.hasSelectedText();
        if (!kept_)
            return;
        text_ = box_.text();
        cursor_ = box_.cursorPosition();
        const int start = box_.selectionStart();
        // The end the selection was made from: setSelection puts the cursor at its far end.
        anchor_ = cursor_ == start ? start + box_.selectionLength() : start;
    }

    void restore()
    {
        if (kept_ && !box_.hasSelectedText() && box_.text() == text_)
            box_.setSelection(anchor_, cursor_ - anchor_);
        kept_ = false;
    }

    QLineEdit &box_;
    bool kept_ = false;
    QString text_;
    int anchor_ = 0;
    int cursor_ = 0;
};

}  // namespace

void keepSelectionWhileAway(QLineEdit &box) { box.installEventFilter(new SelectionKeeper(box)); }

}  // namespace jabbly

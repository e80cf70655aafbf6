// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MenuBarEscape.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace jabbly {

namespace {

class MenuEscape : public QObject {
public:
    MenuEscape(QMenuBar &bar, QMenu &menu) : QObject(&menu), bar_(&bar), menu_(menu) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != &menu_ || event->type() != QEvent::KeyPress)
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier)
            return false;
        // The menu closes itself and hands the keyboard to the menu bar (QObject::event is
        // public: this is the menu's own handling); an Escape there gives the keyboard back
        // to the control that had it.
        watched->event(event);
        if (bar_ && bar_->hasFocus()) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(bar_, &escape);
        }
        return true;
    }

private:
    QPointer<QMenuBar> bar_;
    QMenu &menu_;
};

}  // namespace

void leaveMenuBarOnEscape(QMenuBar &bar, QMenu &menu) { menu.installEventFilter(new MenuEscape(bar, menu)); }

}  // namespace jabbly

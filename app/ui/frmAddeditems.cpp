// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/frmAddeditems.h"

#include "ui/MainLayout.h"
#include "ui/Accessibility.h"
#include "ui/ListViewBinding.h"
#include "ui/WindowPlacement.h"

#include <QListView>

namespace jabbly {

frmAddeditems::frmAddeditems(QWidget *owner) : QWidget(owner, OwnedWindow), view_(new QListView(this))
{
    setObjectName(QStringLiteral("frmAddeditems"));
    setAccessibleRole(*this, QAccessible::Dialog);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Words Added This Session"));
    view_->setObjectName(QStringLiteral("lstAI"));
    describeForScreenReaders(*view_, QStringLiteral("Words added"),
                             QStringLiteral("The words Jabbly has learned since it started, in alphabetical order"));
    closeOnEscape(*this);
    bindListView(*view_, lstAI_);
    resize(toPixels(4680), toPixels(3165));
    centreOnScreen(*this);
}

void frmAddeditems::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    view_->setGeometry(0, 0, width(), height());
}

}  // namespace jabbly

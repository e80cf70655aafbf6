// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "frmAddeditems.h"

#include "MainLayout.h"
#include "Accessibility.h"
#include "ListViewBinding.h"
#include "WindowPlacement.h"

#include <QListView>

namespace jabbly {

frmAddeditems::frmAddeditems(QWidget *owner) : QWidget(owner, Qt::Window), view_(new QListView(this))
{
    setObjectName(QStringLiteral("frmAddeditems"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Words Added This Session"));
    view_->setObjectName(QStringLiteral("lstAI"));
    describeForScreenReaders(*view_, QStringLiteral("Words added"),
                             QStringLiteral("The words Jabbly has learned since it started, in alphabetical order"));
    closeOnEscape(*this);
    bindListView(*view_, lstAI_);
    resize(4680 / TwipsPerPixel, 3165 / TwipsPerPixel);
    centreOnScreen(*this);
}

void frmAddeditems::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    view_->setGeometry(0, 0, width(), height());
}

}  // namespace jabbly

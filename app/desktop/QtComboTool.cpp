// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/QtComboTool.h"

#include "jabbly/error.h"

#include <QAbstractItemView>
#include <QComboBox>

#include <algorithm>

namespace jabbly {

void QtComboTool::SetDropHeight(QWidget *, QComboBox *box, int16_t height)
{
    if (!box || height <= 0)
        throw Error(err::InvalidArgument, QStringLiteral("Invalid procedure call or argument"));

    // Styles that draw the list as a scrolling popup honour the visible item count; the
    // popup's container is also capped, for styles that size the popup themselves.
    QAbstractItemView *view = box->view();
    int rowHeight = box->count() > 0 ? view->sizeHintForRow(0) : -1;
    if (rowHeight <= 0)
        rowHeight = std::max(1, box->fontMetrics().height());
    box->setMaxVisibleItems(std::max(1, height / rowHeight));
    if (QWidget *container = view->parentWidget())
        container->setMaximumHeight(height);
}

}  // namespace jabbly

// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "Accessibility.h"

#include <QShortcut>
#include <QWidget>

namespace jabbly {

void describeForScreenReaders(QWidget &control, const QString &name, const QString &description)
{
    control.setAccessibleName(name);
    control.setAccessibleDescription(description);
}

void closeOnEscape(QWidget &window)
{
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), &window);
    escape->setContext(Qt::WindowShortcut);
    QObject::connect(escape, &QShortcut::activated, &window, &QWidget::close);
}

}  // namespace jabbly

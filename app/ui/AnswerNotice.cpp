// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/AnswerNotice.h"

#include "ui/Accessibility.h"

#include <QAccessible>

namespace jabbly {

AnswerNotice::AnswerNotice(QWidget *window) : QWidget(window)
{
    setObjectName(QStringLiteral("answerNotice"));
    setAccessibleRole(*this, QAccessible::Notification);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
    lower();
    hide();
}

void AnswerNotice::announce(const QString &text)
{
    if (text.isEmpty())
        return;
    setAccessibleName(text);
    // Hidden and shown again: each showing is one notification.
    hide();
    show();
    lower();
}

}  // namespace jabbly

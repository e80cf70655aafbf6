// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/QtMessageBoxes.h"

#include <QMessageBox>

namespace jabbly {

void QtMessageBoxes::critical(const QString &title, const QString &text)
{
    QMessageBox::critical(owner_, title, text, QMessageBox::Ok);
}

void QtMessageBoxes::information(const QString &title, const QString &text)
{
    QMessageBox::information(owner_, title, text, QMessageBox::Ok);
}

bool QtMessageBoxes::question(const QString &title, const QString &text)
{
    return QMessageBox::question(owner_, title, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

}  // namespace jabbly

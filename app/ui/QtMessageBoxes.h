// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user's messages as Qt message boxes, owned by the main window once it is there.

#include "session/UserMessages.h"

#include <QPointer>
#include <QWidget>

namespace jabbly {

class QtMessageBoxes : public UserMessages {
public:
    void setOwner(QWidget *owner) { owner_ = owner; }

    void critical(const QString &title, const QString &text) override;
    void information(const QString &title, const QString &text) override;
    bool question(const QString &title, const QString &text) override;

private:
    QPointer<QWidget> owner_;
};

}  // namespace jabbly

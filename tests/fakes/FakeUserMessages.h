// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// User messages that record what they were asked to show and answer questions as told.

#include "session/UserMessages.h"

#include <QStringList>

namespace jabbly::testing {

class FakeUserMessages : public UserMessages {
public:
    struct Shown {
        QString kind;
        QString title;
        QString text;
    };

    void critical(const QString &title, const QString &text) override { shown.append({"critical", title, text}); }
    void information(const QString &title, const QString &text) override { shown.append({"information", title, text}); }
    bool question(const QString &title, const QString &text) override
    {
        shown.append({"question", title, text});
        return answerYes;
    }

    QList<Shown> shown;
    bool answerYes = false;
};

}  // namespace jabbly::testing

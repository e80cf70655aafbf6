// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the run tells the user something that needs an answer or an acknowledgement: a
// message with a title, shown by the window system in the real program (QtMessageBoxes)
// and recorded by tests.

#include <QString>

namespace jabbly {

class UserMessages {
public:
    virtual ~UserMessages() = default;
    // A failure, with the critical icon and an OK button.
    virtual void critical(const QString &title, const QString &text) = 0;
    // A notice, with the information icon and an OK button.
    virtual void information(const QString &title, const QString &text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool question(const QString &title, const QString &text) = 0;
};

}  // namespace jabbly

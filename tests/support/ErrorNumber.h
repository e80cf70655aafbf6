// SPDX-FileCopyrightText: 2026 The Jabbly developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "jabbly/error.h"

#include <QString>

#include <cstring>
#include <functional>

namespace jabbly::testing {

// The number of the jabbly::Error that `f` throws, or 0 when it throws none.
inline int errorNumber(const std::function<void()> &f)
{
    try {
        f();
    } catch (const Error &error) {
        return error.number();
    }
    return 0;
}

// The system's own text for errno value `e`, in the language of the test's locale, as
// the program shows it to the user.
inline QString systemErrorText(int e) { return QString::fromLocal8Bit(std::strerror(e)); }

}  // namespace jabbly::testing

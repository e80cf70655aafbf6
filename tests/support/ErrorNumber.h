#pragma once

#include "jabbly/error.h"

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

}  // namespace jabbly::testing

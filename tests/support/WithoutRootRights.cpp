#include "WithoutRootRights.h"

#include <cstdlib>

#include <unistd.h>

namespace jabbly::testing {

WithoutRootRights::WithoutRootRights()
{
    if (::geteuid() != 0)
        return;
    wasRoot_ = true;
    constexpr uid_t nobody = 65534;
    ok_ = ::setegid(nobody) == 0 && ::seteuid(nobody) == 0;
}

WithoutRootRights::~WithoutRootRights()
{
    if (wasRoot_) {
        if (::seteuid(0) != 0 || ::setegid(0) != 0)
            std::abort();  // the rest of the tests would run with the wrong rights
    }
}

}  // namespace jabbly::testing

#pragma once

namespace jabbly::testing {

// Root passes every permission check. For the scope of this object a root process acts
// as the unprivileged user "nobody" (effective ids only, restored afterwards); any other
// process is left as it is, since permissions already apply to it.
class WithoutRootRights {
public:
    WithoutRootRights();
    ~WithoutRootRights();
    bool ok() const { return ok_; }

private:
    bool wasRoot_ = false;
    bool ok_ = true;
};

}  // namespace jabbly::testing

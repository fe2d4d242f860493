#pragma once

#include <string>

#include "manage/PolicyCheck.h"

namespace vn {

// Whom the policies of a check are for, as the policy dialog's "Computer:"
// and "User:" lines show them.
struct PolicyIdentity {
    std::string computer;
    std::string user;
};

// The checked computer's name (this computer's own name for the local check,
// "Unknown" when it cannot be had); the user as workgroup\user, for the local
// check the logged-on user as logon domain\user or "Unknown".
PolicyIdentity DescribePolicyCheck(Platform& platform, const PolicyCheck& check);

}  // namespace vn

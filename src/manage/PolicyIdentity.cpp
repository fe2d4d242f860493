#include "manage/PolicyIdentity.h"

namespace vn {

PolicyIdentity DescribePolicyCheck(Platform& platform, const PolicyCheck& check) {
    PolicyIdentity identity;
    if (!check.ComputerName().empty()) {
        identity.computer = check.ComputerName();
        // The workgroup alone, with its backslash, when nobody was found.
        identity.user = check.Workgroup() + "\\" + check.InteractiveUser();
        return identity;
    }
    if (!platform.resolver().LocalComputerName(identity.computer))
        identity.computer = "Unknown";
    WkstaUserInfo1 user;
    if (platform.netInfo().NetWkstaUserGetInfo1(user) == ERROR_SUCCESS)
        identity.user = user.logonDomain + "\\" + user.userName;
    else
        identity.user = "Unknown";
    return identity;
}

}  // namespace vn

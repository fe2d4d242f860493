#include "discovery/ScanDialogDefaults.h"

#include "platform/SystemErrorText.h"

namespace vn {

std::string NetworkScanDefaultEntry(Platform& platform) {
    WkstaInfo100 info;
    const Status status = platform.netInfo().NetWkstaGetInfo100("", info);
    if (status == ERROR_SUCCESS)
        return info.langroup;
    return status == ERROR_BAD_NETPATH ? SystemErrorText(status) : std::string();
}

IPv4 SubnetScanDefaultAddress(Platform& platform) {
    // The list starts with the loopback addresses and ends with those of the
    // network interfaces, so its last address is on this computer's network
    // whenever it has one.
    const std::vector<IPv4> addresses = platform.resolver().LocalAddresses();
    return addresses.empty() ? 0 : addresses.back();
}

}  // namespace vn

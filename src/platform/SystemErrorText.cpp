#include "platform/SystemErrorText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>
#include <utility>

namespace vn {
namespace {

// Windows' own English texts (system messages and the Internet client's),
// without their trailing line break. Sorted by code.
constexpr std::pair<Status, std::string_view> kMessages[] = {
    {0, "The operation completed successfully."},
    {2, "The system cannot find the file specified."},
    {3, "The system cannot find the path specified."},
    {4, "The system cannot open the file."},
    {5, "Access is denied."},
    {6, "The handle is invalid."},
    {8, "Not enough memory resources are available to process this command."},
    {21, "The device is not ready."},
    {31, "A device attached to the system is not functioning."},
    {50, "The request is not supported."},
    {51,
     "Windows cannot find the network path. Verify that the network path is correct and the "
     "destination computer is not busy or turned off. If Windows still cannot find the network "
     "path, contact your network administrator."},
    {53, "The network path was not found."},
    {54, "The network is busy."},
    {64, "The specified network name is no longer available."},
    {67, "The network name cannot be found."},
    {71,
     "No more connections can be made to this remote computer at this time because there are "
     "already as many connections as the computer can accept."},
    {87, "The parameter is incorrect."},
    {109, "The pipe has been ended."},
    {112, "There is not enough space on the disk."},
    {121, "The semaphore timeout period has expired."},
    {122, "The data area passed to a system call is too small."},
    {161, "The specified path is invalid."},
    {170, "The requested resource is in use."},
    {183, "Cannot create a file when that file already exists."},
    {193, "%1 is not a valid Win32 application."},  // inserts are left as they are
    {206, "The filename or extension is too long."},
    {234, "More data is available."},
    {259, "No more data is available."},
    {267, "The directory name is invalid."},
    {1009, "The configuration registry database is corrupt."},
    {1013, "The configuration registry key could not be written."},
    {1016,
     "An I/O operation initiated by the registry failed unrecoverably. The registry could not "
     "read in, or write out, or flush, one of the files that contain the system's image of the "
     "registry."},
    {1018, "Illegal operation attempted on a registry key that has been marked for deletion."},
    {1052, "The requested control is not valid for this service."},
    {1053, "The service did not respond to the start or control request in a timely fashion."},
    {1056, "An instance of the service is already running."},
    {1058,
     "The service cannot be started, either because it is disabled or because it has no "
     "enabled devices associated with it."},
    {1060, "The specified service does not exist as an installed service."},
    {1061, "The service cannot accept control messages at this time."},
    {1062, "The service has not been started."},
    {1069, "The service did not start due to a logon failure."},
    {1072, "The specified service has been marked for deletion."},
    {1115, "A system shutdown is in progress."},
    {1203,
     "The network path was either typed incorrectly, does not exist, or the network provider "
     "is not currently available. Please try retyping the path or contact your network "
     "administrator."},
    {1204, "The specified network provider name is invalid."},
    {1219,
     "Multiple connections to a server or shared resource by the same user, using more than "
     "one user name, are not allowed. Disconnect all previous connections to the server or "
     "shared resource and try again."},
    {1222, "The network is not present or not started."},
    {1225, "The remote computer refused the network connection."},
    {1231,
     "The network location cannot be reached. For information about network "
     "troubleshooting, see Windows Help."},
    {1232,
     "The network location cannot be reached. For information about network "
     "troubleshooting, see Windows Help."},
    {1312, "A specified logon session does not exist. It may already have been terminated."},
    {1326, "The user name or password is incorrect."},
    {1332, "No mapping between account names and security IDs was done."},
    {1355, "The specified domain either does not exist or could not be contacted."},
    {1460, "This operation returned because the timeout period expired."},
    {1702, "The binding handle is invalid."},
    {1717, "The interface is unknown."},
    {1722, "The RPC server is unavailable."},
    {1726, "The remote procedure call failed."},
    {1727, "The remote procedure call failed and did not execute."},
    {1728, "A remote procedure call (RPC) protocol error occurred."},
    {1753, "There are no more endpoints available from the endpoint mapper."},
    // The Internet client's messages carry no closing full stop, apart from two.
    {12002, "The operation timed out"},
    {12004, "An internal error occurred in the Microsoft Internet extensions"},
    {12005, "The URL is invalid"},
    {12007, "The server name or address could not be resolved"},
    {12017, "The operation has been canceled"},
    {12027, "The information format is incorrect"},
    {12028, "The requested item could not be found"},
    {12029, "A connection with the server could not be established"},
    {12030, "The connection with the server was terminated abnormally"},
    {12031, "The connection with the server was reset"},
    {12037, "The date in the certificate is invalid or has expired"},
    {12038, "The host name in the certificate is invalid or does not match"},
    {12045, "The certificate authority is invalid or incorrect"},
    {12055, "The SSL certificate contains errors."},
    {12057,
     "It was not possible to connect to the revocation server or a definitive response "
     "could not be obtained."},
    {12152, "The server returned an invalid or unrecognized response"},
    {12157, "An error occurred in the secure channel support"},
    {12170, "The supplied certificate has been revoked"},
    // The program's own.
    {ERROR_BROWSE_LIST_TOO_LONG, "The browse list holds more than 100,000 entries and was not read."},
};

static_assert(std::is_sorted(std::begin(kMessages), std::end(kMessages),
                             [](const auto& a, const auto& b) { return a.first < b.first; }));

}  // namespace

std::string SystemErrorText(Status code) {
    const auto* end = std::end(kMessages);
    const auto* found =
        std::lower_bound(std::begin(kMessages), end, code, [](const auto& entry, Status c) { return entry.first < c; });
    if (found != end && found->first == code)
        return std::string(found->second) + "\r\n";
    char text[64];
    std::snprintf(text, sizeof text, "Unknown error (%u).\r\n", static_cast<unsigned>(code));
    return text;
}

}  // namespace vn

#pragma once

#include <string>

#include "platform/Status.h"
#include "platform/smb/SmbBackend.h"

namespace vn::lab {

// What one examination of a lab host found.
struct LabProbeResult {
    int keysFound = 0;   // product keys that opened
    int keysAbsent = 0;  // answered 2
    int keysDenied = 0;  // answered 5
    std::string serverComment;
    std::string productType;
};

// The reads the program makes to examine one computer, against a lab host:
// connect to its machine hive, open the services key, open each product key,
// NetServerGetInfo at level 101, read ProductOptions\ProductType. The first
// failure of a step that must succeed is returned. Its pipes are opened once,
// as in the program's examination (RemoteConnectionScope).
Status RunLabProbe(smb::SmbBackend& backend, const std::string& host, LabProbeResult& result);

// How many product keys a probe opens.
int LabProbeProductKeys();

}  // namespace vn::lab

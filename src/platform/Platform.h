#pragma once

#include "platform/Accounts.h"
#include "platform/Https.h"
#include "platform/NetInfo.h"
#include "platform/Network.h"
#include "platform/NetworkBrowser.h"
#include "platform/Processes.h"
#include "platform/Registry.h"
#include "platform/ServiceControl.h"

namespace vn {

// Every operating-system service the logic uses. The logic receives one
// Platform and never reaches the system any other way, so tests can pass a
// fake one.
class Platform {
public:
    virtual ~Platform() = default;

    virtual Registry& registry() = 0;
    virtual NetInfo& netInfo() = 0;
    virtual NetworkBrowser& browser() = 0;
    virtual ServiceControl& services() = 0;
    virtual Accounts& accounts() = 0;
    virtual Resolver& resolver() = 0;
    virtual Sockets& sockets() = 0;
    virtual Processes& processes() = 0;
    virtual HttpsClient& https() = 0;
};

}  // namespace vn

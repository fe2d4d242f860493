#include "support/PlatformOverlay.h"

namespace vn::test {
namespace {

// The service put in place, or else the base platform's (asked for only then).
template <typename Service, typename Accessor>
Service& Either(Service* swapped, Platform& base, Accessor accessor) {
    return swapped != nullptr ? *swapped : (base.*accessor)();
}

}  // namespace

Registry& PlatformOverlay::registry() { return Either(registry_, base_, &Platform::registry); }
NetInfo& PlatformOverlay::netInfo() { return Either(netInfo_, base_, &Platform::netInfo); }
NetworkBrowser& PlatformOverlay::browser() { return Either(browser_, base_, &Platform::browser); }
ServiceControl& PlatformOverlay::services() { return Either(services_, base_, &Platform::services); }
Accounts& PlatformOverlay::accounts() { return Either(accounts_, base_, &Platform::accounts); }
Resolver& PlatformOverlay::resolver() { return Either(resolver_, base_, &Platform::resolver); }
Sockets& PlatformOverlay::sockets() { return Either(sockets_, base_, &Platform::sockets); }
Processes& PlatformOverlay::processes() { return Either(processes_, base_, &Platform::processes); }
HttpsClient& PlatformOverlay::https() { return Either(https_, base_, &Platform::https); }

}  // namespace vn::test

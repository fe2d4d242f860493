#pragma once

#include "platform/Platform.h"

namespace vn::test {

// A platform whose services are those of a base platform (the fake network,
// as a rule) except the ones a test puts in their place with Use: real SQLite
// hives for this computer, programs started for real, a lab's browser.
class PlatformOverlay : public Platform {
public:
    explicit PlatformOverlay(Platform& base) : base_(base) {}

    void Use(Registry& registry) { registry_ = &registry; }
    void Use(NetInfo& netInfo) { netInfo_ = &netInfo; }
    void Use(NetworkBrowser& browser) { browser_ = &browser; }
    void Use(ServiceControl& services) { services_ = &services; }
    void Use(Accounts& accounts) { accounts_ = &accounts; }
    void Use(Resolver& resolver) { resolver_ = &resolver; }
    void Use(Sockets& sockets) { sockets_ = &sockets; }
    void Use(Processes& processes) { processes_ = &processes; }
    void Use(HttpsClient& https) { https_ = &https; }

    Registry& registry() override;
    NetInfo& netInfo() override;
    NetworkBrowser& browser() override;
    ServiceControl& services() override;
    Accounts& accounts() override;
    Resolver& resolver() override;
    Sockets& sockets() override;
    Processes& processes() override;
    HttpsClient& https() override;

private:
    Platform& base_;
    Registry* registry_ = nullptr;
    NetInfo* netInfo_ = nullptr;
    NetworkBrowser* browser_ = nullptr;
    ServiceControl* services_ = nullptr;
    Accounts* accounts_ = nullptr;
    Resolver* resolver_ = nullptr;
    Sockets* sockets_ = nullptr;
    Processes* processes_ = nullptr;
    HttpsClient* https_ = nullptr;
};

}  // namespace vn::test

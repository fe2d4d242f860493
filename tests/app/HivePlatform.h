#pragma once

#include <cstdlib>
#include <memory>

#include "platform/Platform.h"
#include "platform/TempDirectory.h"
#include "platform/local/hive/SqliteRegistry.h"
#include "support/FakePlatform.h"

namespace vn::test {

// This computer's hives are real SQLite files in a temporary directory
// (named through NETWARDEN_USER_HIVE and NETWARDEN_MACHINE_HIVE, as the
// program finds them); every other computer, and every other service, is the
// fake network.
class HivePlatform final : public Platform, public Registry {
public:
    HivePlatform() {
        setenv("NETWARDEN_USER_HIVE", directory.File("user.db").c_str(), 1);
        setenv("NETWARDEN_MACHINE_HIVE", directory.File("machine.db").c_str(), 1);
        local = std::make_unique<SqliteRegistry>();
    }

    // A fresh connection to the same files, as the next run of the program has.
    std::unique_ptr<SqliteRegistry> Reopen() const { return std::make_unique<SqliteRegistry>(); }

    Status Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) override {
        if (!computer.empty())
            return fake.Connect(computer, hive, result);
        return localFront != nullptr ? localFront->Connect(computer, hive, result)
                                     : local->Connect(computer, hive, result);
    }

    Registry& registry() override { return *this; }
    NetInfo& netInfo() override { return fake.netInfo(); }
    NetworkBrowser& browser() override { return fake.browser(); }
    ServiceControl& services() override { return fake.services(); }
    Accounts& accounts() override { return fake.accounts(); }
    Resolver& resolver() override { return fake.resolver(); }
    Sockets& sockets() override { return fake.sockets(); }
    Processes& processes() override { return fake.processes(); }
    HttpsClient& https() override { return fake.https(); }

    TempDirectory directory;
    FakePlatform fake;
    std::unique_ptr<SqliteRegistry> local;
    // When set, this computer's hives are reached through it (one that fails
    // writes, say) instead of directly.
    Registry* localFront = nullptr;
};

}  // namespace vn::test

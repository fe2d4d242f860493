#pragma once

#include <cstdlib>
#include <memory>

#include "platform/Registry.h"
#include "platform/TempDirectory.h"
#include "platform/local/hive/SqliteRegistry.h"
#include "support/FakePlatform.h"
#include "support/PlatformOverlay.h"

namespace vn::test {

// Holds the fake network, so that it is built before the overlay that forwards to it.
struct HivePlatformNetwork {
    FakePlatform fake;
};

// This computer's hives are real SQLite files in a temporary directory
// (named through NETWARDEN_USER_HIVE and NETWARDEN_MACHINE_HIVE, as the
// program finds them); every other computer, and every other service, is the
// fake network.
class HivePlatform final : private HivePlatformNetwork, public PlatformOverlay, public Registry {
public:
    HivePlatform() : PlatformOverlay(fake) {
        setenv("NETWARDEN_USER_HIVE", directory.File("user.db").c_str(), 1);
        setenv("NETWARDEN_MACHINE_HIVE", directory.File("machine.db").c_str(), 1);
        local = std::make_unique<SqliteRegistry>();
        Use(static_cast<Registry&>(*this));
    }

    // A fresh connection to the same files, as the next run of the program has.
    std::unique_ptr<SqliteRegistry> Reopen() const { return std::make_unique<SqliteRegistry>(); }

    Status Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) override {
        if (!computer.empty())
            return fake.Connect(computer, hive, result);
        return localFront != nullptr ? localFront->Connect(computer, hive, result)
                                     : local->Connect(computer, hive, result);
    }

    using HivePlatformNetwork::fake;
    TempDirectory directory;
    std::unique_ptr<SqliteRegistry> local;
    // When set, this computer's hives are reached through it (one that fails
    // writes, say) instead of directly.
    Registry* localFront = nullptr;
};

}  // namespace vn::test

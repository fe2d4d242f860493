#pragma once

#include <chrono>
#include <memory>

#include "platform/Registry.h"
#include "platform/local/HivePaths.h"
#include "platform/local/hive/SqliteHive.h"

namespace vn {

// The registry of this computer (computer ""): HKEY_CURRENT_USER and
// HKEY_LOCAL_MACHINE are SQLite files (see HivePaths). The hive root opens
// with full access. HKEY_USERS of this computer is not kept: connecting to it
// answers ERROR_ACCESS_DENIED. Any other computer name answers
// ERROR_BAD_NETPATH (remote hives are another backend's).
class SqliteRegistry : public Registry {
public:
    explicit SqliteRegistry(const HivePaths& paths = HivePathsFromEnvironment(),
                            std::chrono::milliseconds busyTimeout = std::chrono::milliseconds(5000));

    [[nodiscard]] Status Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) override;

private:
    std::shared_ptr<SqliteHive> currentUser_;
    std::shared_ptr<SqliteHive> localMachine_;
};

}  // namespace vn

#pragma once

#include <memory>

#include "platform/Registry.h"
#include "platform/local/hive/SqliteHive.h"

namespace vn {

// A write group on a local hive: one SQLite transaction from the group's
// first write to Commit. Destroyed without Commit, it rolls everything back.
// The group covers every write made through the hive meanwhile, from any
// key handle and any thread of this program.
class HiveWriteGroup : public RegistryWriteGroup {
public:
    explicit HiveWriteGroup(std::shared_ptr<SqliteHive> hive);
    ~HiveWriteGroup() override;
    HiveWriteGroup(const HiveWriteGroup&) = delete;
    HiveWriteGroup& operator=(const HiveWriteGroup&) = delete;

    // A second Commit, or one after a failed write group, is refused.
    [[nodiscard]] Status Commit() override;

private:
    std::shared_ptr<SqliteHive> hive_;
    bool ended_ = false;
};

}  // namespace vn

#include "platform/local/hive/HiveWriteGroup.h"

namespace vn {

HiveWriteGroup::HiveWriteGroup(std::shared_ptr<SqliteHive> hive) : hive_(std::move(hive)) { hive_->BeginGroup(); }

HiveWriteGroup::~HiveWriteGroup() {
    // An abandoned group is rolled back; there is no one left to tell.
    if (!ended_)
        (void)hive_->EndGroup(false);
}

Status HiveWriteGroup::Commit() {
    if (ended_)
        return ERROR_INVALID_PARAMETER;
    ended_ = true;
    return hive_->EndGroup(true);
}

}  // namespace vn

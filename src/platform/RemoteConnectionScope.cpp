#include "platform/RemoteConnectionScope.h"

namespace vn {

namespace {
thread_local RemoteConnectionScope* threadScope = nullptr;
}  // namespace

RemoteConnectionScope::RemoteConnectionScope() {
    if (!threadScope) {
        threadScope = this;
        outermost_ = true;
    }
}

RemoteConnectionScope::~RemoteConnectionScope() {
    if (!outermost_)
        return;
    threadScope = nullptr;
    // Closing a connection makes remote calls, which must not find a scope
    // half torn down.
    kept_.clear();
}

std::shared_ptr<void> RemoteConnectionScope::Find(const std::string& key) {
    if (!threadScope)
        return nullptr;
    const auto found = threadScope->kept_.find(key);
    return found == threadScope->kept_.end() ? nullptr : found->second;
}

void RemoteConnectionScope::Keep(const std::string& key, std::shared_ptr<void> connection) {
    if (threadScope)
        threadScope->kept_[key] = std::move(connection);
}

}  // namespace vn

#include "platform/smb/pool/HelperSlot.h"

#include <algorithm>

namespace vn::smb {

namespace {
// libsmbclient keeps every server it reached; the pool only needs the recent ones.
constexpr std::size_t kRememberedSessions = 16;
}  // namespace

bool HelperSlot::HoldsSessionWith(const std::string& host) const {
    return std::find(sessions.begin(), sessions.end(), host) != sessions.end();
}

bool HelperSlot::PipesOnlyTo(const std::string& host) const {
    return std::all_of(pipeHosts.begin(), pipeHosts.end(), [&](const std::string& open) { return open == host; });
}

void HelperSlot::RememberSession(const std::string& host) {
    std::erase(sessions, host);
    sessions.push_back(host);
    if (sessions.size() > kRememberedSessions)
        sessions.pop_front();
}

}  // namespace vn::smb

#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/smb/pool/HelperProcess.h"

namespace vn::smb {

// A helper in the pool with what the pool knows of it. Every field but
// process is guarded by the pool's mutex; process is used by the thread that
// holds the lease (busy), and only killed by others.
struct HelperSlot {
    std::unique_ptr<HelperProcess> process;
    std::uint64_t generation = 0;        // of the credentials it logged on with
    bool busy = false;                   // leased: one request in flight
    bool retired = false;                // ends as soon as it holds no pipe
    std::vector<std::string> pipeHosts;  // one entry per open pipe
    std::deque<std::string> sessions;    // hosts it holds a session with, latest last
    std::chrono::steady_clock::time_point lastUsed = std::chrono::steady_clock::now();

    bool HoldsSessionWith(const std::string& host) const;
    // Every open pipe leads to host (or none is open).
    bool PipesOnlyTo(const std::string& host) const;
    void RememberSession(const std::string& host);
};

}  // namespace vn::smb

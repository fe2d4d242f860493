#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace vn::smb::helper {

// Frames over one end of a socket pair. With a deadline, every wait ends by
// it; without one (the helper's side) the channel waits as long as it takes.
// The descriptor stays the owner's.
class FrameChannel {
public:
    using Deadline = std::optional<std::chrono::steady_clock::time_point>;
    enum class Result {
        Ok,
        TimedOut,   // the deadline passed first
        Closed,     // the other end is gone
        Malformed,  // a length of zero or above kMaxFrameBody
    };

    explicit FrameChannel(int fd) : fd_(fd) {}

    // Sends one whole frame.
    Result Send(std::span<const std::uint8_t> frame, Deadline deadline = std::nullopt);

    // Receives one frame's body. Its length is checked before anything is
    // allocated for it.
    Result Receive(std::vector<std::uint8_t>& body, Deadline deadline = std::nullopt);

private:
    Result Wait(short events, Deadline deadline);
    Result ReadAll(std::uint8_t* out, std::size_t size, Deadline deadline);

    int fd_;
};

}  // namespace vn::smb::helper

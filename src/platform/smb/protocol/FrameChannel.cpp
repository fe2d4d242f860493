#include "platform/smb/protocol/FrameChannel.h"

#include <poll.h>
#include <sys/socket.h>
#include <cerrno>

#include "platform/smb/protocol/HelperMessages.h"

namespace vn::smb::helper {

FrameChannel::Result FrameChannel::Wait(short events, Deadline deadline) {
    for (;;) {
        int timeoutMs = -1;
        if (deadline) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(*deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                return Result::TimedOut;
            timeoutMs = left.count() > 60'000 ? 60'000 : static_cast<int>(left.count());
        }
        pollfd waiting{fd_, events, 0};
        const int ready = poll(&waiting, 1, timeoutMs);
        if (ready > 0)
            return Result::Ok;  // readable, writable, or hung up: the next call tells which
        if (ready < 0 && errno != EINTR)
            return Result::Closed;
    }
}

FrameChannel::Result FrameChannel::Send(std::span<const std::uint8_t> frame, Deadline deadline) {
    std::size_t done = 0;
    while (done < frame.size()) {
        const ssize_t sent = send(fd_, frame.data() + done, frame.size() - done, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent > 0) {
            done += static_cast<std::size_t>(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (Result waited = Wait(POLLOUT, deadline); waited != Result::Ok)
                return waited;
            continue;
        }
        return Result::Closed;
    }
    return Result::Ok;
}

FrameChannel::Result FrameChannel::ReadAll(std::uint8_t* out, std::size_t size, Deadline deadline) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = recv(fd_, out + done, size - done, MSG_DONTWAIT);
        if (got > 0) {
            done += static_cast<std::size_t>(got);
            continue;
        }
        if (got == 0)
            return Result::Closed;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (Result waited = Wait(POLLIN, deadline); waited != Result::Ok)
                return waited;
            continue;
        }
        return Result::Closed;
    }
    return Result::Ok;
}

FrameChannel::Result FrameChannel::Receive(std::vector<std::uint8_t>& body, Deadline deadline) {
    std::uint8_t lengthBytes[kFrameLengthSize];
    if (Result result = ReadAll(lengthBytes, sizeof lengthBytes, deadline); result != Result::Ok)
        return result;
    const std::uint32_t length = FrameBodyLength(lengthBytes);
    if (length == 0 || length > kMaxFrameBody)
        return Result::Malformed;
    body.resize(length);
    return ReadAll(body.data(), body.size(), deadline);
}

}  // namespace vn::smb::helper

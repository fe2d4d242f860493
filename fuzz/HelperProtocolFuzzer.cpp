// libFuzzer target: the frames between the programs and their SMB helpers.
// A helper parses what hostile servers send, so the program must take
// nothing on trust from it; the helper in turn checks what it is asked.
// The input is a byte stream of frames: each goes through the program's
// reply decoder and the helper's request decoder on a real socket pair, and
// every message that decodes must encode back to the very same frame.
#include <sys/socket.h>
#include <unistd.h>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/smb/protocol/FrameChannel.h"
#include "platform/smb/protocol/HelperMessages.h"

namespace {

using namespace vn::smb::helper;

template <class Message>
void CheckRoundTrip(std::span<const std::uint8_t> body, const Message& message,
                    std::vector<std::uint8_t> (*encode)(const Message&)) {
    const std::vector<std::uint8_t> frame = encode(message);
    if (frame.size() != body.size() + kFrameLengthSize ||
        !std::equal(body.begin(), body.end(), frame.begin() + kFrameLengthSize))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int ends[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return 0;
    // The whole input as the stream one side wrote; the socket buffer holds it.
    const std::size_t written = size < 100000 ? size : 100000;
    if (written > 0 && write(ends[0], data, written) != static_cast<ssize_t>(written)) {
        close(ends[0]);
        close(ends[1]);
        return 0;
    }
    close(ends[0]);
    FrameChannel channel(ends[1]);
    std::vector<std::uint8_t> body;
    while (channel.Receive(body, std::chrono::steady_clock::now()) == FrameChannel::Result::Ok) {
        Reply reply;
        if (DecodeReply(body, reply))
            CheckRoundTrip<Reply>(body, reply, EncodeReply);
        Request request;
        if (DecodeRequest(body, request))
            CheckRoundTrip<Request>(body, request, EncodeRequest);
    }
    close(ends[1]);
    return 0;
}

#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "platform/Status.h"
#include "platform/smb/rpc/PipeStream.h"
#include "platform/smb/rpc/RpcPdu.h"

namespace vn::smb {

// One bound RPC interface over a pipe: splits request stubs into fragments no
// larger than the server accepts and joins the response fragments. Calls from
// several threads are served one after the other. Each call, the bind
// included, ends within callLimit (or the thread's RemoteDeadlineScope) from
// its start, however the server spreads its answer.
class RpcConnection {
public:
    explicit RpcConnection(std::unique_ptr<PipeStream> pipe,
                           std::chrono::milliseconds callLimit = std::chrono::milliseconds(8000));

    Status Bind(const RpcSyntaxId& abstractSyntax);

    // Sends the request stub for opnum and returns the response stub. A fault
    // gives its status; malformed answers give an RPC runtime status.
    Status Call(std::uint16_t opnum, std::span<const std::uint8_t> request, std::vector<std::uint8_t>& response);

    // False once the bind failed or a call broke off mid-answer: every later
    // call would fail, so the connection is not worth keeping.
    bool Usable();

    // Upper bound of a whole response stub; larger answers are refused.
    static constexpr std::size_t kMaxResponseStub = std::size_t{16} * 1024 * 1024;
    // Upper bound of the fragments of one response: a whole kMaxResponseStub
    // in fragments of the size we offer, with room to spare. More, empty
    // ones included, are a protocol error.
    static constexpr std::size_t kMaxResponseFragments = 8192;

private:
    Status Exchange(std::uint16_t opnum, std::span<const std::uint8_t> request, std::vector<std::uint8_t>& response,
                    bool& complete);
    // Sends request (none when empty) and receives the next PDU.
    Status TransactPdu(std::span<const std::uint8_t> request, PduHeader& header, std::vector<std::uint8_t>& body,
                       PipeStream::Deadline deadline);

    std::mutex mutex_;
    std::unique_ptr<PipeStream> pipe_;
    const std::chrono::milliseconds callLimit_;
    std::uint32_t nextCallId_ = 1;
    std::uint16_t maxXmitFrag_ = kDefaultMaxFragment;
    bool bound_ = false;
    Status broken_ = ERROR_SUCCESS;  // of the call that ended mid-answer, for every later call
};

}  // namespace vn::smb

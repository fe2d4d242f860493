#include "platform/smb/rpc/RpcConnection.h"

#include <algorithm>
#include <utility>

#include "platform/RemoteDeadline.h"

namespace vn::smb {

namespace {
// Fragment sizes below this cannot carry a request header and a useful stub.
constexpr std::uint16_t kMinFragment = 256;
}  // namespace

RpcConnection::RpcConnection(std::unique_ptr<PipeStream> pipe, std::chrono::milliseconds callLimit)
    : pipe_(std::move(pipe)),
      callLimit_(callLimit) {}

Status RpcConnection::TransactPdu(std::span<const std::uint8_t> request, PduHeader& header,
                                  std::vector<std::uint8_t>& body, PipeStream::Deadline deadline) {
    std::vector<std::uint8_t> pdu;
    if (Status status = pipe_->Transact(request, pdu, deadline); status != ERROR_SUCCESS)
        return status;
    if (Status status = ParsePduHeader(pdu, header); status != ERROR_SUCCESS)
        return status;
    if (pdu.size() != header.fragLength)
        return RPC_S_PROTOCOL_ERROR;
    // The fragment length is a 16-bit field, so the body is bounded by 64 KiB.
    body.assign(pdu.begin() + kPduHeaderSize, pdu.end());
    if (header.authLength != 0)
        return RPC_S_PROTOCOL_ERROR;  // we never ask for authentication at this level
    return ERROR_SUCCESS;
}

Status RpcConnection::Bind(const RpcSyntaxId& abstractSyntax) {
    std::lock_guard<std::mutex> lock(mutex_);
    const PipeStream::Deadline deadline = RemoteDeadlineScope::CallDeadline(callLimit_);
    const std::uint32_t callId = nextCallId_++;
    PduHeader header;
    std::vector<std::uint8_t> body;
    if (Status status = TransactPdu(BuildBind(callId, abstractSyntax, kDefaultMaxFragment), header, body, deadline);
        status != ERROR_SUCCESS)
        return status;
    if (header.callId != callId)
        return RPC_S_PROTOCOL_ERROR;
    if (header.type == PduType::BindNak)
        return RPC_S_UNKNOWN_IF;
    if (header.type != PduType::BindAck)
        return RPC_S_PROTOCOL_ERROR;
    BindAck ack;
    if (Status status = ParseBindAck(body, ack); status != ERROR_SUCCESS)
        return status;
    if (!ack.accepted)
        return RPC_S_UNKNOWN_IF;
    // The server's receive size bounds what we send.
    maxXmitFrag_ = std::min<std::uint16_t>(kDefaultMaxFragment, ack.maxRecvFrag);
    if (maxXmitFrag_ < kMinFragment)
        return RPC_S_PROTOCOL_ERROR;
    bound_ = true;
    return ERROR_SUCCESS;
}

bool RpcConnection::Usable() {
    std::lock_guard<std::mutex> lock(mutex_);
    return bound_ && broken_ == ERROR_SUCCESS;
}

Status RpcConnection::Call(std::uint16_t opnum, std::span<const std::uint8_t> request,
                           std::vector<std::uint8_t>& response) {
    std::lock_guard<std::mutex> lock(mutex_);
    response.clear();
    if (!bound_)
        return ERROR_INVALID_HANDLE;
    if (broken_ != ERROR_SUCCESS)
        return broken_;
    bool complete = false;
    const Status status = Exchange(opnum, request, response, complete);
    // A call that ended mid-answer leaves the rest of it in the pipe, where
    // the next call would read it as its own.
    if (!complete)
        broken_ = status;
    return status;
}

Status RpcConnection::Exchange(std::uint16_t opnum, std::span<const std::uint8_t> request,
                               std::vector<std::uint8_t>& response, bool& complete) {
    // One deadline for the request and every fragment of the answer.
    const PipeStream::Deadline deadline = RemoteDeadlineScope::CallDeadline(callLimit_);
    const std::uint32_t callId = nextCallId_++;
    const std::size_t maxStubPart = maxXmitFrag_ - kRequestHeaderSize;
    std::size_t sent = 0;
    std::vector<std::uint8_t> last;  // the last request fragment goes out with the wait for the answer
    do {
        const std::size_t part = std::min(maxStubPart, request.size() - sent);
        std::uint8_t flags = 0;
        if (sent == 0)
            flags |= PFC_FIRST_FRAG;
        if (sent + part == request.size())
            flags |= PFC_LAST_FRAG;
        const auto allocHint = static_cast<std::uint32_t>(request.size() - sent);
        std::vector<std::uint8_t> fragment =
            BuildRequestFragment(callId, opnum, flags, allocHint, request.subspan(sent, part));
        sent += part;
        if (sent == request.size()) {
            last = std::move(fragment);
        } else if (Status status = pipe_->Write(fragment, deadline); status != ERROR_SUCCESS) {
            return status;
        }
    } while (sent < request.size());

    for (std::size_t fragment = 0;; ++fragment) {
        if (fragment == kMaxResponseFragments)
            return RPC_S_PROTOCOL_ERROR;
        const bool first = fragment == 0;
        PduHeader header;
        std::vector<std::uint8_t> body;
        if (Status status = TransactPdu(first ? std::span<const std::uint8_t>(last) : std::span<const std::uint8_t>(),
                                        header, body, deadline);
            status != ERROR_SUCCESS)
            return status;
        if (header.callId != callId)
            return RPC_S_PROTOCOL_ERROR;
        if (header.type == PduType::Fault) {
            complete = true;
            return FaultStatus(body);
        }
        if (header.type != PduType::Response)
            return RPC_S_PROTOCOL_ERROR;
        if (first != ((header.flags & PFC_FIRST_FRAG) != 0))
            return RPC_S_PROTOCOL_ERROR;
        std::span<const std::uint8_t> stub;
        if (Status status = ResponseStub(body, stub); status != ERROR_SUCCESS)
            return status;
        if (stub.size() > kMaxResponseStub - response.size())
            return RPC_S_PROTOCOL_ERROR;
        response.insert(response.end(), stub.begin(), stub.end());
        if (header.flags & PFC_LAST_FRAG) {
            complete = true;
            return ERROR_SUCCESS;
        }
    }
}

}  // namespace vn::smb

#include "platform/smb/pool/HelperPipe.h"

#include <algorithm>
#include <cstring>

#include "platform/RemoteDeadline.h"
#include "platform/smb/pool/HelperCall.h"
#include "platform/smb/rpc/StatusMapping.h"

namespace vn::smb {

namespace {

Status NoErrnoMapping(int) { return RPC_S_CALL_FAILED; }

// One request on a pipe's helper, under a lease. A reply that does not fit
// the request kills the helper before the lease ends.
template <class... Expected>
Status PipeCall(HelperPoolCore& core, const std::shared_ptr<HelperSlot>& slot, const helper::Request& request,
                PipeStream::Deadline deadline, Status (*fromErrno)(int), helper::Reply& reply,
                const std::function<bool(const helper::Reply&)>& fits = {}) {
    bool timedOut = false;
    if (!core.Lease(slot, deadline, timedOut))
        return timedOut ? ERROR_SEM_TIMEOUT : RPC_S_CALL_FAILED;
    Status status = CallHelper<Expected...>(*slot->process, request, deadline, ERROR_SEM_TIMEOUT, fromErrno, reply);
    if (status == ERROR_SUCCESS && fits && !fits(reply)) {
        slot->process->Kill();
        status = RPC_S_CALL_FAILED;
    }
    core.Release(slot);
    return status;
}

}  // namespace

HelperPipe::HelperPipe(std::shared_ptr<HelperPoolCore> core, std::shared_ptr<HelperSlot> slot, std::uint32_t handle,
                       std::string host)
    : core_(std::move(core)),
      slot_(std::move(slot)),
      handle_(handle),
      host_(std::move(host)) {}

HelperPipe::~HelperPipe() {
    const Deadline deadline = RemoteDeadlineScope::CallDeadline(core_->Options().callLimit);
    helper::Reply reply;
    const bool closed = PipeCall<helper::Done>(*core_, slot_, helper::ClosePipe{handle_}, deadline, NoErrnoMapping,
                                               reply) == ERROR_SUCCESS;
    core_->PipeClosed(*slot_, host_, closed);
}

Status HelperPipe::Write(std::span<const std::uint8_t> bytes, Deadline deadline) {
    while (!bytes.empty()) {
        const std::size_t part = std::min<std::size_t>(bytes.size(), helper::kMaxReadSize);
        helper::WritePipe write{handle_, {bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(part)}};
        helper::Reply reply;
        if (Status status = PipeCall<helper::Done>(*core_, slot_, write, deadline, StatusFromIoErrno, reply);
            status != ERROR_SUCCESS)
            return status;
        bytes = bytes.subspan(part);
    }
    return ERROR_SUCCESS;
}

Status HelperPipe::ReadExact(std::uint8_t* out, std::size_t size, Deadline deadline) {
    while (size > 0) {
        const auto part = static_cast<std::uint32_t>(std::min<std::size_t>(size, helper::kMaxReadSize));
        helper::Reply reply;
        const auto whatWasAsked = [part](const helper::Reply& answer) {
            const auto* data = std::get_if<helper::Data>(&answer);
            return !data || data->bytes.size() == part;
        };
        if (Status status = PipeCall<helper::Data, helper::Ended>(*core_, slot_, helper::ReadPipe{handle_, part},
                                                                  deadline, StatusFromIoErrno, reply, whatWasAsked);
            status != ERROR_SUCCESS)
            return status;
        if (std::holds_alternative<helper::Ended>(reply))
            return ERROR_BROKEN_PIPE;
        std::memcpy(out, std::get<helper::Data>(reply).bytes.data(), part);
        out += part;
        size -= part;
    }
    return ERROR_SUCCESS;
}

Status HelperPipe::Transact(std::span<const std::uint8_t> request, std::vector<std::uint8_t>& pdu, Deadline deadline) {
    if (request.size() > helper::kMaxReadSize)
        return PipeStream::Transact(request, pdu, deadline);
    helper::Reply reply;
    const auto wholePdu = [](const helper::Reply& answer) {
        const auto* data = std::get_if<helper::Data>(&answer);
        return !data || (data->bytes.size() >= helper::kPduHeaderBytes &&
                         helper::PduLength(std::span<const std::uint8_t, helper::kPduHeaderBytes>(
                             data->bytes.data(), helper::kPduHeaderBytes)) == data->bytes.size());
    };
    if (Status status = PipeCall<helper::Data, helper::Ended>(
            *core_, slot_, helper::TransactPipe{handle_, {request.begin(), request.end()}}, deadline, StatusFromIoErrno,
            reply, wholePdu);
        status != ERROR_SUCCESS)
        return status;
    if (std::holds_alternative<helper::Ended>(reply))
        return ERROR_BROKEN_PIPE;
    pdu = std::move(std::get<helper::Data>(reply).bytes);
    return ERROR_SUCCESS;
}

}  // namespace vn::smb

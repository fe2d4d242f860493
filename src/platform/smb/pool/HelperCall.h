#pragma once

#include <chrono>
#include <functional>
#include <variant>

#include "platform/Status.h"
#include "platform/smb/pool/HelperProcess.h"
#include "platform/smb/rpc/RpcPdu.h"

namespace vn::smb {

// What one request on a leased helper means for its caller: the reply when it
// is one of Expected, the helper's errno mapped by fromErrno, timeoutStatus
// when the deadline passes (before the request goes out nothing happens to the
// helper; after, it is killed), and an RPC failure when the helper died or
// answered out of turn (it is killed then too).
template <class... Expected>
Status CallHelper(HelperProcess& process, const helper::Request& request, HelperProcess::Clock::time_point deadline,
                  Status timeoutStatus, Status (*fromErrno)(int), helper::Reply& reply,
                  const std::function<bool(helper::BrowseEntry&)>& entry = {}) {
    if (HelperProcess::Clock::now() >= deadline)
        return timeoutStatus;
    switch (process.Exchange(request, deadline, reply, entry)) {
    case HelperProcess::Outcome::TimedOut: return timeoutStatus;
    case HelperProcess::Outcome::Broken: return RPC_S_CALL_FAILED;
    case HelperProcess::Outcome::Answered: break;
    }
    if (const auto* failed = std::get_if<helper::Failed>(&reply))
        return fromErrno(failed->error);
    if ((std::holds_alternative<Expected>(reply) || ...))
        return ERROR_SUCCESS;
    process.Kill();
    return RPC_S_CALL_FAILED;
}

}  // namespace vn::smb

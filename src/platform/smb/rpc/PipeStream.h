#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/Status.h"

namespace vn::smb {

// A byte stream to an RPC server: an SMB named pipe, or a scripted one in tests.
// Every operation ends by its deadline; one that runs out fails with
// ERROR_SEM_TIMEOUT.
class PipeStream {
public:
    using Deadline = std::chrono::steady_clock::time_point;

    virtual ~PipeStream() = default;

    // Sends one whole PDU.
    virtual Status Write(std::span<const std::uint8_t> bytes, Deadline deadline) = 0;

    // Reads exactly size bytes; never asks the pipe for more than that, since
    // a pipe read larger than the message waits for data that never comes.
    virtual Status ReadExact(std::uint8_t* out, std::size_t size, Deadline deadline) = 0;

    // Sends one PDU (none when request is empty) and receives the next whole
    // one, as long as its common header says: here a write and two reads; a
    // stream that can do it in one exchange does. A header that is not
    // DCE/RPC 5.0 fails with RPC_S_PROTOCOL_ERROR.
    virtual Status Transact(std::span<const std::uint8_t> request, std::vector<std::uint8_t>& pdu, Deadline deadline);
};

}  // namespace vn::smb

#pragma once

#include <memory>
#include <string>

#include "platform/smb/pool/HelperPoolCore.h"
#include "platform/smb/rpc/PipeStream.h"

namespace vn::smb {

// A named pipe held open by a helper process. Each write, read and
// transaction is one request to that helper, made under a lease, so that pipes sharing a helper
// take turns. When the helper is gone every call fails with an RPC failure.
class HelperPipe final : public PipeStream {
public:
    HelperPipe(std::shared_ptr<HelperPoolCore> core, std::shared_ptr<HelperSlot> slot, std::uint32_t handle,
               std::string host);
    ~HelperPipe() override;  // closes the pipe in the helper
    HelperPipe(const HelperPipe&) = delete;
    HelperPipe& operator=(const HelperPipe&) = delete;

    Status Write(std::span<const std::uint8_t> bytes, Deadline deadline) override;
    Status ReadExact(std::uint8_t* out, std::size_t size, Deadline deadline) override;
    // One request to the helper, which makes the write and both reads.
    Status Transact(std::span<const std::uint8_t> request, std::vector<std::uint8_t>& pdu, Deadline deadline) override;

private:
    const std::shared_ptr<HelperPoolCore> core_;
    const std::shared_ptr<HelperSlot> slot_;
    const std::uint32_t handle_;
    const std::string host_;
};

}  // namespace vn::smb

#include "platform/smb/rpc/PipeStream.h"

#include "platform/smb/rpc/RpcPdu.h"

namespace vn::smb {

Status PipeStream::Transact(std::span<const std::uint8_t> request, std::vector<std::uint8_t>& pdu, Deadline deadline) {
    if (!request.empty()) {
        if (Status status = Write(request, deadline); status != ERROR_SUCCESS)
            return status;
    }
    pdu.resize(kPduHeaderSize);
    if (Status status = ReadExact(pdu.data(), pdu.size(), deadline); status != ERROR_SUCCESS)
        return status;
    PduHeader header;
    if (Status status = ParsePduHeader(pdu, header); status != ERROR_SUCCESS)
        return status;
    pdu.resize(header.fragLength);
    if (pdu.size() == kPduHeaderSize)
        return ERROR_SUCCESS;
    return ReadExact(pdu.data() + kPduHeaderSize, pdu.size() - kPduHeaderSize, deadline);
}

}  // namespace vn::smb

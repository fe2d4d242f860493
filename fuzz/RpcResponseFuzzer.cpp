// libFuzzer target: everything a hostile server can send us. The first byte
// picks a decoder; the rest is a response stub, or for the last choice a
// stream of PDUs answering a bind and one call.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>

#include "platform/smb/rpc/Lsarpc.h"
#include "platform/smb/rpc/PipeStream.h"
#include "platform/smb/rpc/RpcCall.h"
#include "platform/smb/rpc/RpcConnection.h"
#include "platform/smb/rpc/Srvsvc.h"
#include "platform/smb/rpc/Svcctl.h"
#include "platform/smb/rpc/Winreg.h"
#include "platform/smb/rpc/Wkssvc.h"

namespace {

using namespace vn;
using namespace vn::smb;

class ReplayPipe : public PipeStream {
public:
    explicit ReplayPipe(std::span<const std::uint8_t> data) : data_(data) {}
    Status Write(std::span<const std::uint8_t>, Deadline) override { return ERROR_SUCCESS; }
    Status ReadExact(std::uint8_t* out, std::size_t size, Deadline) override {
        if (size > data_.size())
            return ERROR_BROKEN_PIPE;
        std::memcpy(out, data_.data(), size);
        data_ = data_.subspan(size);
        return ERROR_SUCCESS;
    }

private:
    std::span<const std::uint8_t> data_;
};

template <class Response>
void Decode(std::span<const std::uint8_t> stub) {
    Response response;
    // Refusing the input is a fine outcome; only a crash or a sanitizer
    // report is a finding.
    (void)DecodeStub(stub, response);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::span<const std::uint8_t> stub(data + 1, size - 1);
    switch (data[0] % 12) {
    case 0: Decode<winreg::OpenHiveResponse>(stub); break;
    case 1: Decode<winreg::BaseRegQueryValueResponse>(stub); break;
    case 2: Decode<winreg::BaseRegEnumKeyResponse>(stub); break;
    case 3: Decode<winreg::BaseRegCreateKeyResponse>(stub); break;
    case 4: Decode<srvsvc::NetrServerGetInfoResponse>(stub); break;
    case 5: Decode<wkssvc::NetrWkstaGetInfoResponse>(stub); break;
    case 6: Decode<wkssvc::NetrWkstaUserEnumResponse>(stub); break;
    case 7: Decode<lsarpc::LsarLookupNamesResponse>(stub); break;
    case 8: Decode<lsarpc::LsarOpenPolicy2Response>(stub); break;
    case 9: Decode<svcctl::ServiceStatusResponse>(stub); break;
    case 10: Decode<svcctl::OpenHandleResponse>(stub); break;
    default: {
        RpcConnection connection(std::make_unique<ReplayPipe>(stub));
        if (connection.Bind(winreg::Interface()) == ERROR_SUCCESS) {
            std::vector<std::uint8_t> response;
            const std::uint8_t request[8] = {};
            connection.Call(17, request, response);
        }
        break;
    }
    }
    return 0;
}

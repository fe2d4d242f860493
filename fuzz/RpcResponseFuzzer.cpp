// libFuzzer target: everything a hostile server can send us. The first byte
// picks the decoder of one declared response (RpcInterfaces.h); the rest is a
// response stub, or for the choice past the last response a stream of PDUs
// answering a bind and one call.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <tuple>

#include "platform/smb/rpc/PipeStream.h"
#include "platform/smb/rpc/RpcCall.h"
#include "platform/smb/rpc/RpcConnection.h"
#include "platform/smb/rpc/RpcInterfaces.h"

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

template <class... Response>
constexpr auto DecodersOf(std::tuple<Response...>*) {
    return std::array{&Decode<Response>...};
}
constexpr auto kDecoders = DecodersOf(static_cast<AllResponses*>(nullptr));

void ReplayCall(std::span<const std::uint8_t> pdus) {
    RpcConnection connection(std::make_unique<ReplayPipe>(pdus));
    if (connection.Bind(winreg::Interface()) == ERROR_SUCCESS) {
        std::vector<std::uint8_t> response;
        const std::uint8_t request[8] = {};
        (void)connection.Call(OperationFor<winreg::BaseRegQueryValue>::opnum, request, response);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::span<const std::uint8_t> stub(data + 1, size - 1);
    const std::size_t choice = data[0] % (kDecoders.size() + 1);
    if (choice < kDecoders.size())
        kDecoders[choice](stub);
    else
        ReplayCall(stub);
    return 0;
}

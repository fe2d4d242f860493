// Every response an interface declares (RpcInterfaces.h), walked without a
// list of its own: a call added to a table is checked here with the others.
#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <tuple>
#include <vector>

#include "platform/smb/rpc/RpcCall.h"
#include "platform/smb/rpc/RpcInterfaces.h"

namespace vn::smb {
namespace {

template <class>
struct TypesOf;
template <class... T>
struct TypesOf<std::tuple<T...>> {
    using Types = ::testing::Types<T...>;
};

// The operation's own status: ErrorCode, or the NTSTATUS of the LSA's calls.
template <class Response>
std::uint32_t ReturnedStatus(const Response& response) {
    if constexpr (requires { response.ErrorCode; })
        return response.ErrorCode;
    else
        return response.Status;
}

template <class Response>
std::vector<std::uint8_t> Encoded(const Response& response) {
    NdrWriter w;
    w.Write(response);
    return w.data();
}

template <class Response>
class DeclaredResponse : public ::testing::Test {};
TYPED_TEST_SUITE(DeclaredResponse, TypesOf<AllResponses>::Types);

// The reader takes back what the writer gives, and the status the server
// puts last is the one InvokeForStatus hands on.
TYPED_TEST(DeclaredResponse, ReadsTheStatusItEndsWith) {
    std::vector<std::uint8_t> stub = Encoded(TypeParam{});
    ASSERT_GE(stub.size(), 4u);
    stub[stub.size() - 4] = 0x05;  // ERROR_ACCESS_DENIED, or an NTSTATUS of the same bytes
    stub[stub.size() - 1] = 0xC0;
    TypeParam response;
    ASSERT_EQ(DecodeStub(stub, response), ERROR_SUCCESS);
    EXPECT_EQ(ReturnedStatus(response), 0xC0000005u);
    EXPECT_EQ(Encoded(response), stub);
}

// Every shorter stub is refused, never read past its end.
TYPED_TEST(DeclaredResponse, RefusesEveryShorterStub) {
    const std::vector<std::uint8_t> stub = Encoded(TypeParam{});
    for (std::size_t size = 0; size < stub.size(); ++size) {
        TypeParam response;
        EXPECT_EQ(DecodeStub(std::span(stub).first(size), response), RPC_X_BAD_STUB_DATA) << size;
    }
}

}  // namespace
}  // namespace vn::smb

#pragma once

#include <span>
#include <type_traits>
#include <vector>

#include "platform/Status.h"
#include "platform/smb/rpc/NdrReader.h"
#include "platform/smb/rpc/NdrWriter.h"
#include "platform/smb/rpc/RpcCallTable.h"
#include "platform/smb/rpc/RpcConnection.h"

namespace vn::smb {

// Decodes a response stub into its declaration; a stub that does not match
// gives RPC_X_BAD_STUB_DATA.
template <class Response>
[[nodiscard]] Status DecodeStub(std::span<const std::uint8_t> stub, Response& response) {
    try {
        NdrReader r(stub);
        r.Read(response);
        return ERROR_SUCCESS;
    } catch (const NdrError&) {
        return RPC_X_BAD_STUB_DATA;
    }
}

// Runs one operation of its interface's call table (RpcCallTable.h), which
// gives the opnum and the response that belongs to the request. The result is
// the transport's status; the operation's own status is a field of the response.
template <class Request, class Response>
[[nodiscard]] Status Invoke(RpcConnection& connection, const Request& request, Response& response) {
    using Operation = OperationFor<Request>;
    static_assert(std::is_same_v<Response, typename Operation::ResponseType>, "not the response of this request");
    std::vector<std::uint8_t> stub;
    try {
        NdrWriter w;
        w.Write(request);
        stub = w.data();
    } catch (const NdrError&) {
        return ERROR_INVALID_PARAMETER;
    }
    std::vector<std::uint8_t> answer;
    if (Status status = connection.Call(Operation::opnum, stub, answer); status != ERROR_SUCCESS)
        return status;
    return DecodeStub(answer, response);
}

// Invoke for operations that answer a Windows status in ErrorCode: the
// transport's failure, else the operation's own status.
template <class Request, class Response>
[[nodiscard]] Status InvokeForStatus(RpcConnection& connection, const Request& request, Response& response) {
    const Status transport = Invoke(connection, request, response);
    return transport != ERROR_SUCCESS ? transport : response.ErrorCode;
}

}  // namespace vn::smb

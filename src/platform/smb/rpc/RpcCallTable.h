#pragma once

#include <cstddef>
#include <cstdint>
#include <tuple>
#include <type_traits>
#include <utility>

// How an interface declares its calls once: a table of operations, each its
// opnum with its request and its response,
//     using Calls = RpcCallTable<RpcOperation<15, BaseRegOpenKey, BaseRegOpenKeyResponse>, ...>;
// and, in the interface's namespace, `Calls CallTableOf(const auto&);` by
// which Invoke finds a request's opnum and checks the response it is given.
namespace vn::smb {

template <std::uint16_t Opnum, class Request, class Response>
struct RpcOperation {
    static constexpr std::uint16_t opnum = Opnum;
    using RequestType = Request;
    using ResponseType = Response;
};

template <class... Operations>
struct RpcCallTable {
    // The row of Request; past the end when the table lacks it.
    template <class Request>
    static constexpr std::size_t IndexOf() {
        constexpr bool kMatches[] = {std::is_same_v<Request, typename Operations::RequestType>...};
        for (std::size_t i = 0; i < sizeof...(Operations); ++i)
            if (kMatches[i])
                return i;
        return sizeof...(Operations);
    }

private:
    static constexpr bool OpnumsUnique() {
        constexpr std::uint16_t kOpnums[] = {Operations::opnum...};
        for (std::size_t i = 0; i < sizeof...(Operations); ++i)
            for (std::size_t j = i + 1; j < sizeof...(Operations); ++j)
                if (kOpnums[i] == kOpnums[j])
                    return false;
        return true;
    }
    // Each request is found at its own row, not at an earlier one.
    static constexpr bool RequestsUnique() {
        constexpr std::size_t kFound[] = {IndexOf<typename Operations::RequestType>()...};
        for (std::size_t i = 0; i < sizeof...(Operations); ++i)
            if (kFound[i] != i)
                return false;
        return true;
    }

    static_assert(OpnumsUnique(), "two operations of one interface declare the same opnum");
    static_assert(RequestsUnique(), "a request type stands for one operation only");

public:
    // The operation whose request is Request.
    template <class Request>
    requires(IndexOf<Request>() < sizeof...(Operations)) using Operation =
        std::tuple_element_t<IndexOf<Request>(), std::tuple<Operations...>>;

    // Every response the interface declares, in table order.
    using Responses = std::tuple<typename Operations::ResponseType...>;
};

// The table of the interface that declares Request, found by argument-dependent lookup.
template <class Request>
using CallTableFor = decltype(CallTableOf(std::declval<const Request&>()));

template <class Request>
using OperationFor = typename CallTableFor<Request>::template Operation<Request>;

template <class Request>
using ResponseFor = typename OperationFor<Request>::ResponseType;

}  // namespace vn::smb

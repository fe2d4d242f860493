#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Network.h"

namespace vn {

// NetBIOS name service packets (RFC 1002): the name query request and its
// response, as a WINS server or the owner of a name answers it.

// The NetBIOS name types asked for: the server service, which every
// computer offering file sharing (and its remote registry) registers.
inline constexpr std::uint8_t kNetbiosServerType = 0x20;

// True for a name the name service can carry: 1 to 15 bytes, no dot (a DNS
// name), no blank, no "*" and no control character.
bool IsNetbiosName(std::string_view name);

// A name query request for name (upper-cased, padded to 15 bytes, then the
// type byte), recursion desired, marked as broadcast when asked.
std::vector<std::uint8_t> EncodeNameQuery(std::uint16_t transactionId, std::string_view name, std::uint8_t type,
                                          bool broadcast);

enum class NameQueryAnswer {
    Unrelated,  // not a response to this query, or malformed: keep waiting
    Negative,   // the responder does not know the name
    Positive,   // address holds the name's first address
};

// Reads a packet received in reply to the query with that transaction id
// and name. Every length is checked against the packet's size.
NameQueryAnswer DecodeNameQueryResponse(std::span<const std::uint8_t> packet, std::uint16_t transactionId,
                                        std::string_view name, std::uint8_t type, IPv4& address);

}  // namespace vn

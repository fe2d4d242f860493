#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vn::wsd {

// What one WS-Discovery datagram says, as far as finding computers needs it.
// Everything in it comes from anyone on the network: it is read with caps on
// size, depth, counts and text, and a document with a DTD is refused whole.
enum class WsdAction { Other, ProbeMatches, ResolveMatches, Hello, Bye };

struct WsdMatch {
    std::string endpoint;             // wsa:Address of the endpoint reference
    std::vector<std::string> xaddrs;  // where its metadata is served
    bool computer = false;            // pub:Computer among its types
    bool typed = false;               // its types given at all
};

struct WsdDatagram {
    WsdAction action = WsdAction::Other;
    std::string relatesTo;
    std::vector<WsdMatch> matches;
};

// A computer's own account of itself, from the pub:Computer of its metadata
// ("NAME/Workgroup:WG" or "NAME/Domain:DOM").
struct ComputerIdentity {
    std::string name;
    std::string group;
    bool domain = false;
};

// The largest datagram and metadata document read; longer ones are refused.
inline constexpr std::size_t kMaxDatagramBytes = 32767;
inline constexpr std::size_t kMaxMetadataBytes = 65536;
inline constexpr std::size_t kMaxMatchesPerDatagram = 16;
inline constexpr std::size_t kMaxXAddrsPerMatch = 8;

// False for a datagram that is too long, not well-formed XML (within the
// caps) or no SOAP envelope.
bool ParseDatagram(std::string_view datagram, WsdDatagram& result);

// False when the document is refused or names no computer with a usable name.
bool ParseMetadata(std::string_view document, ComputerIdentity& result);

// The text of pub:Computer taken apart; false when it is no such text.
bool ParseComputerText(std::string_view text, ComputerIdentity& result);

// The messages this side sends, each with its own message id (urn:uuid:...).
std::string ProbeMessage(const std::string& messageId);
std::string ResolveMessage(const std::string& messageId, const std::string& endpoint);
std::string GetMessage(const std::string& messageId, const std::string& endpoint);

// A fresh "urn:uuid:..." message id.
std::string NewMessageId();

}  // namespace vn::wsd

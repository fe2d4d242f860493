#pragma once

#include <string>
#include <string_view>

#include "platform/Network.h"
#include "platform/Platform.h"

namespace vn {

// A dotted address of four decimal numbers (each cut to its low 8 bits) is
// taken as it stands; anything else is resolved as a host name. 0 when it
// does not resolve.
IPv4 ResolveAddress(Platform& platform, std::string_view nameOrAddress);

// Where a computer is examined: by its name when that resolves here, else at
// the address it was last met at (a computer that answered WS-Discovery),
// written out; the name as well when no address is known.
std::string ExaminationTarget(Platform& platform, const std::string& name, IPv4 knownAddress);

// The four numbers of a dotted address as scanf's "%d.%d.%d.%d" reads them;
// false unless all four were read.
bool ParseDottedAddress(std::string_view text, IPv4& address);

// True when the address is one of this computer's: any address of its
// interfaces, or the address its own name resolves to. 0 (no address) is
// never local.
bool IsLocalAddress(Platform& platform, IPv4 address);

// True when the name is this computer's name or resolves to one of its
// addresses.
bool IsLocalComputer(Platform& platform, std::string_view name);

// True when a TCP connection to port 139 (NetBIOS session service) succeeds
// within 5 seconds.
bool TestNetbiosPort(Platform& platform, IPv4 address);

}  // namespace vn

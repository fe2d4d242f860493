#pragma once

#include <vector>

#include "platform/Network.h"
#include "platform/wsd/MulticastProbe.h"

namespace vn::wsd {

// One entry per endpoint across the families, as a computer that answers on
// IPv4 and IPv6 names the same endpoint on both: where the endpoint answered
// from an IPv4 address, its IPv6 entries go; of several IPv6 entries alone,
// the first stays. Entries of one endpoint from several IPv4 addresses all
// stay, so that no address can push out what another says.
void FoldFamilies(std::vector<AnsweredEndpoint>& endpoints);

// The address a computer is examined at, as computers are reached by IPv4:
// the one it answered from, else the first IPv4 address among its XAddrs;
// 0 for a computer on IPv6 alone, which is then reached by its name.
IPv4 ExaminedAddress(const AnsweredEndpoint& endpoint);

}  // namespace vn::wsd

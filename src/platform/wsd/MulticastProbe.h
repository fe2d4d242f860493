#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/Status.h"
#include "platform/wsd/PeerAddress.h"

namespace vn::wsd {

// A device endpoint that answered, at the address the answer came from.
struct AnsweredEndpoint {
    PeerAddress source;
    std::string endpoint;
    std::vector<std::string> xaddrs;  // empty when a Resolve got no answer
};

struct ProbeLimits {
    std::chrono::milliseconds wait{2000};
    std::size_t maxEndpoints = 512;
    // One address may speak for a few endpoints only, so that a host that
    // invents thousands cannot push the others out.
    std::size_t maxEndpointsPerAddress = 4;
};

// The multicast side of WS-Discovery: a Probe for wsdp:Device sent to
// 239.255.255.250 from every IPv4 address and to ff02::c from the link-local
// address of every IPv6 interface that is up, can multicast and is no
// loopback; the answers to it (ProbeMatches of computers) and to the Resolves
// sent for endpoints that answered without their XAddrs, collected for the
// wait. Meanwhile the groups themselves are listened to on port 3702, for
// the Hellos and Byes of computers that come and go (see
// EndpointCollection); where another program holds that port, the Probe
// alone finds them. Oversized datagrams and anything that does not parse are
// dropped. An endpoint that answered on both families is found once (see
// FoldFamilies). ERROR_NO_NETWORK when no interface could send.
[[nodiscard]] Status ProbeNetwork(const ProbeLimits& limits, std::vector<AnsweredEndpoint>& found);

}  // namespace vn::wsd

#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/Network.h"
#include "platform/Status.h"

namespace vn::wsd {

// A device endpoint that answered, at the address the answer came from.
struct AnsweredEndpoint {
    IPv4 source = 0;
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

// The multicast side of WS-Discovery on IPv4: a Probe for wsdp:Device sent
// from every interface that is up, can multicast and is no loopback, the
// answers to it (ProbeMatches of computers) and to the Resolves sent for
// endpoints that answered without their XAddrs, collected for the wait.
// Answers to messages we did not send, oversized datagrams and anything that
// does not parse are dropped. ERROR_NO_NETWORK when no interface could send.
[[nodiscard]] Status ProbeNetwork(const ProbeLimits& limits, std::vector<AnsweredEndpoint>& found);

}  // namespace vn::wsd

#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "platform/Https.h"
#include "platform/Network.h"
#include "platform/Status.h"
#include "platform/wsd/MulticastProbe.h"
#include "platform/wsd/WsdMessages.h"

namespace vn::wsd {

// One endpoint that answered, and what its metadata said of it: status is
// ERROR_SUCCESS when the computer was named. The computer is examined at
// address (see ExaminedAddress), by its name when that is 0.
struct WsdAnswer {
    IPv4 address = 0;
    PeerAddress source;  // where the answer came from
    std::string endpoint;
    Status status = ERROR_SUCCESS;
    ComputerIdentity computer;
};

struct WsdOptions {
    ProbeLimits probe;
    // Each metadata Get ends by then, however the device trickles, and all
    // of them by twice that after the wait.
    std::chrono::milliseconds getLimit{2000};
    std::size_t parallelGets = 16;
};

// Finds the computers of the networks this computer is on: the multicast
// Probe, then every answering endpoint's metadata (a WS-Transfer Get over
// plain HTTP, at most kMaxMetadataBytes) for its name and workgroup or domain.
class WsdDiscovery {
public:
    explicit WsdDiscovery(HttpsClient& http) : http_(http) {}

    [[nodiscard]] Status Discover(const WsdOptions& options, std::vector<WsdAnswer>& answers);

    // The metadata of the endpoints found, asked for in parallel; the first
    // endpoint of each address goes before the second of any.
    void ReadMetadata(const WsdOptions& options, const std::vector<AnsweredEndpoint>& endpoints,
                      std::vector<WsdAnswer>& answers);

private:
    Status ReadOne(const AnsweredEndpoint& endpoint, std::chrono::steady_clock::time_point deadline,
                   ComputerIdentity& computer);

    HttpsClient& http_;
};

}  // namespace vn::wsd

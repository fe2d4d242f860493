#pragma once

#include <cstddef>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/wsd/MulticastProbe.h"
#include "platform/wsd/WsdMessages.h"

namespace vn::wsd {

// The endpoints the datagrams of one discovery announce, within the caps of
// its limits. Kept by (source address, endpoint), so that what one address
// says never changes another address's entries:
// - ProbeMatches and ResolveMatches count only when they relate to a message
//   we sent; a ProbeMatch of a computer (pub:Computer among its types) makes
//   an entry, as does a Hello of one or of a host that gives no types, a
//   ResolveMatch fills in the XAddrs of one;
// - a Hello needs no such relation, it is the computer's own announcement; a
//   Bye takes out the entry its sender made (a later Hello brings it back).
class EndpointCollection {
public:
    // An endpoint as the address that announced it.
    using Key = std::pair<PeerAddress, std::string>;

    explicit EndpointCollection(const ProbeLimits& limits) : limits_(limits) {}

    // Takes in one datagram; the endpoints it named without their XAddrs, for
    // the first time, are added to toResolve.
    void Accept(const PeerAddress& source, const WsdDatagram& datagram, const std::set<std::string>& ourMessages,
                std::vector<Key>& toResolve);

    // The endpoints whose Resolve is still unanswered.
    std::vector<Key> Unresolved() const;

    // Every entry not taken out by a Bye, in the order first met.
    std::vector<AnsweredEndpoint> Take();

private:
    struct Entry {
        AnsweredEndpoint endpoint;
        bool gone = false;
    };
    // Made when the caps allow; null else.
    Entry* Make(const PeerAddress& source, const std::string& endpoint);
    Entry* Find(const PeerAddress& source, const std::string& endpoint);

    const ProbeLimits& limits_;
    std::vector<Entry> entries_;
    std::map<Key, std::size_t> index_;
    std::map<PeerAddress, std::size_t> perAddress_;
    std::set<Key> resolving_;
};

}  // namespace vn::wsd

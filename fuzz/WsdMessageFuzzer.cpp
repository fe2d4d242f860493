// WS-Discovery's answers as anyone on the network may send them: the first
// byte picks the datagram parser or the metadata parser, the rest is the
// document. Whatever they accept must hold to their caps, and a datagram
// taken in by the collection of endpoints to the caps of one address.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/wsd/EndpointCollection.h"
#include "platform/wsd/WsdMessages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view document(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] & 1) {
        vn::wsd::ComputerIdentity computer;
        if (vn::wsd::ParseMetadata(document, computer) && (computer.name.empty() || computer.name.size() > 63))
            __builtin_trap();
    } else {
        vn::wsd::WsdDatagram datagram;
        if (vn::wsd::ParseDatagram(document, datagram) && datagram.matches.size() > vn::wsd::kMaxMatchesPerDatagram)
            __builtin_trap();
        for (const vn::wsd::WsdMatch& match : datagram.matches) {
            // Whether it is a computer is read from its types alone.
            if (match.endpoint.empty() || match.xaddrs.size() > vn::wsd::kMaxXAddrsPerMatch ||
                (match.computer && !match.typed))
                __builtin_trap();
        }
        const vn::wsd::ProbeLimits limits;
        vn::wsd::EndpointCollection collection(limits);
        std::vector<vn::wsd::EndpointCollection::Key> toResolve;
        collection.Accept(vn::wsd::PeerAddress::Of(1), datagram, {datagram.relatesTo}, toResolve);
        if (collection.Take().size() > limits.maxEndpointsPerAddress ||
            toResolve.size() > limits.maxEndpointsPerAddress)
            __builtin_trap();
    }
    return 0;
}

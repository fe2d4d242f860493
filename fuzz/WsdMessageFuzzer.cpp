// WS-Discovery's answers as anyone on the network may send them: the first
// byte picks the datagram parser or the metadata parser, the rest is the
// document. Whatever they accept must hold to their caps.
#include <cstddef>
#include <cstdint>
#include <string_view>

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
            if (match.endpoint.empty() || match.xaddrs.size() > vn::wsd::kMaxXAddrsPerMatch)
                __builtin_trap();
        }
    }
    return 0;
}

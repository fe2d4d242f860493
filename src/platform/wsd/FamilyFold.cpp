#include "platform/wsd/FamilyFold.h"

#include <arpa/inet.h>

#include <algorithm>
#include <set>
#include <string_view>

namespace vn::wsd {

void FoldFamilies(std::vector<AnsweredEndpoint>& endpoints) {
    std::set<std::string> onIPv4;
    for (const AnsweredEndpoint& endpoint : endpoints) {
        if (!endpoint.source.ipv6)
            onIPv4.insert(endpoint.endpoint);
    }
    std::set<std::string> keptIPv6;
    const auto dropped = std::remove_if(endpoints.begin(), endpoints.end(), [&](const AnsweredEndpoint& endpoint) {
        return endpoint.source.ipv6 && (onIPv4.count(endpoint.endpoint) || !keptIPv6.insert(endpoint.endpoint).second);
    });
    endpoints.erase(dropped, endpoints.end());
}

IPv4 ExaminedAddress(const AnsweredEndpoint& endpoint) {
    if (!endpoint.source.ipv6)
        return endpoint.source.v4;
    constexpr std::string_view kScheme = "http://";
    for (const std::string& url : endpoint.xaddrs) {
        std::string_view rest(url);
        if (rest.substr(0, kScheme.size()) != kScheme)
            continue;
        rest.remove_prefix(kScheme.size());
        const std::string host(rest.substr(0, rest.find_first_of(":/")));
        in_addr parsed{};
        if (inet_pton(AF_INET, host.c_str(), &parsed) == 1 && parsed.s_addr != 0)
            return ntohl(parsed.s_addr);
    }
    return 0;
}

}  // namespace vn::wsd

#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/directory/DirectoryOptions.h"

namespace vn::directory {

struct SrvTarget {
    std::uint16_t priority = 0;
    std::uint16_t weight = 0;
    std::uint16_t port = 0;
    std::string host;
};

// The SRV records of a DNS answer, lowest priority first and, within one
// priority, heaviest first. Malformed answers give what was read before the
// fault.
std::vector<SrvTarget> ParseSrvAnswer(const unsigned char* answer, int length);

// The domain controllers of dnsDomain, the standard way: the SRV records of
// _ldap._tcp.dc._msdcs.<domain>, then the site-independent _ldap._tcp.<domain>,
// and when DNS has neither the domain's own name (its A records name its
// controllers). options.controllers, when given, are the answer.
std::vector<std::string> FindDomainControllers(const std::string& dnsDomain, const DirectoryOptions& options);

}  // namespace vn::directory

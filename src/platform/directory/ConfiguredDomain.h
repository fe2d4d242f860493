#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vn::directory {

// The Active Directory domain this computer belongs to.
struct DirectoryDomain {
    std::string dnsName;      // the realm in lower case, "lab.test"
    std::string netbiosName;  // the workgroup, "LAB"
};

// The domain the first readable Samba client configuration names: its realm,
// with its workgroup as the domain's short name. Nothing when it has no realm
// (a workgroup has no directory).
std::optional<DirectoryDomain> ReadConfiguredDomain(const std::vector<std::string>& configFiles);

// The DNS name of a domain given by name: a DNS domain is itself, the
// configured domain's short name or realm is its DNS name; nothing otherwise.
std::optional<std::string> DirectoryDnsName(const std::string& name, const std::optional<DirectoryDomain>& configured);

}  // namespace vn::directory

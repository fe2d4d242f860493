#include "platform/directory/ConfiguredDomain.h"

#include <strings.h>
#include <algorithm>
#include <cctype>

#include "platform/directory/DirectoryNames.h"
#include "platform/local/SambaConfig.h"

namespace vn::directory {
namespace {

std::string Cased(std::string text, int (*change)(int)) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [change](char c) { return static_cast<char>(change(static_cast<unsigned char>(c))); });
    return text;
}

}  // namespace

std::optional<DirectoryDomain> ReadConfiguredDomain(const std::vector<std::string>& configFiles) {
    const auto text = ReadFirstSambaConfig(configFiles);
    if (!text)
        return std::nullopt;
    const auto parameters = GlobalSambaParameters(*text);
    const auto realm = parameters.find("realm");
    if (realm == parameters.end() || realm->second.empty())
        return std::nullopt;
    DirectoryDomain domain;
    domain.dnsName = Cased(realm->second, std::tolower);
    const auto workgroup = parameters.find("workgroup");
    if (workgroup != parameters.end())
        domain.netbiosName = Cased(workgroup->second, std::toupper);
    return domain;
}

std::optional<std::string> DirectoryDnsName(const std::string& name, const std::optional<DirectoryDomain>& configured) {
    if (configured &&
        (strcasecmp(name.c_str(), configured->dnsName.c_str()) == 0 ||
         (!configured->netbiosName.empty() && strcasecmp(name.c_str(), configured->netbiosName.c_str()) == 0)))
        return configured->dnsName;
    if (LooksLikeDnsDomain(name))
        return Cased(name, std::tolower);
    return std::nullopt;
}

}  // namespace vn::directory

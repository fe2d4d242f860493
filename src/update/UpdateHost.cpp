#include "update/UpdateHost.h"

#include <cstdlib>

#include "platform/RegistryValues.h"

namespace vn {
namespace {

constexpr std::string_view kSettingsKey = "Software\\Vantor Netwarden\\Settings";
constexpr std::string_view kVersionPath = "/mykshost/vtrnetwardenversion.asp";
constexpr std::string_view kDownloadPath = "/go.asp?page=products_netwarden";

std::string HostFromSettings(Registry& registry) {
    RegistryKeyPtr hive;
    RegistryKeyPtr settings;
    std::string host;
    if (registry.Connect("", Hive::CurrentUser, hive) != ERROR_SUCCESS ||
        hive->OpenKey(kSettingsKey, KEY_QUERY_VALUE, settings) != ERROR_SUCCESS ||
        QueryStringValue(*settings, kUpdateHostValue, host, REG_SZ) != ERROR_SUCCESS)
        return {};
    return host;
}

std::string Url(std::string_view host, std::string_view path) {
    std::string url = "https://";
    url += host;
    url += path;
    return url;
}

}  // namespace

std::string ResolveUpdateHost(Registry& registry) {
    if (const char* variable = std::getenv(kUpdateHostVariable); variable && *variable)
        return variable;
    if (std::string host = HostFromSettings(registry); !host.empty())
        return host;
    return std::string(kDefaultUpdateHost);
}

std::string VersionEndpointUrl(std::string_view host) { return Url(host, kVersionPath); }

std::string DownloadPageUrl(std::string_view host) { return Url(host, kDownloadPath); }

}  // namespace vn

#pragma once

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace vn {

// The maker's secure web server, written "host" or "host:port". It comes from
// the environment variable NETWARDEN_UPDATE_HOST when that is set and not
// empty, else from the REG_SZ value "UpdateHost" of the current user's key
// "Software\Vantor Netwarden\Settings", else kDefaultUpdateHost.
inline constexpr std::string_view kDefaultUpdateHost = "secure.vantor.example";
inline constexpr const char* kUpdateHostVariable = "NETWARDEN_UPDATE_HOST";
inline constexpr std::string_view kUpdateHostValue = "UpdateHost";

std::string ResolveUpdateHost(Registry& registry);

// The addresses on that server.
std::string VersionEndpointUrl(std::string_view host);  // answers with the current version
std::string DownloadPageUrl(std::string_view host);     // where the user downloads it

}  // namespace vn

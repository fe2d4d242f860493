#pragma once

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace vn {

// The maker's web pages the program links to, all served by the maker's
// configured web server (see ResolveUpdateHost): "https://<host>/go.asp?page=<page>".
std::string MakerPageUrl(Registry& registry, std::string_view page);

inline constexpr std::string_view kDownloadPage = "download";
inline constexpr std::string_view kSupportPage = "support";
inline constexpr std::string_view kHomePage = "netwarden";
inline constexpr std::string_view kSystemAdminPage = "systemadmin";  // security and group policies

// The support telephone lines shown beside the support page.
inline constexpr std::string_view kSupportPhoneLine1 = "North America: +1 201 555 0142";
inline constexpr std::string_view kSupportPhoneLine2 = "Europe: +44 20 7946 0958";

}  // namespace vn

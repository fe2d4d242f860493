#pragma once

#include <string>
#include <string_view>

namespace vn::smb::helper {

// A host name usable in an smb:// URL: leading slashes and backslashes
// dropped; false when it holds characters that would change the URL's meaning.
bool UrlHostName(std::string_view name, std::string& host);

// A browse URL the helper accepts: "smb://" alone or followed by a host name.
bool BrowseUrl(std::string_view url);

}  // namespace vn::smb::helper

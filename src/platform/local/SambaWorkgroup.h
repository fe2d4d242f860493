#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/local/SambaConfig.h"

namespace vn {

// The "workgroup" parameter of the [global] section of Samba configuration
// text, in capitals as Samba uses it. Parameter names compare as Samba
// compares them (letter case and blanks ignored), "#" and ";" start comment
// lines and a trailing "\" continues a line. Include directives are not
// followed.
std::optional<std::string> WorkgroupFromSambaConfig(std::string_view text);

// The workgroup of this computer's Samba client: the first of the files that
// exists and names one ($HOME/.smb/smb.conf, then /etc/samba/smb.conf, unless
// other files are given), "WORKGROUP" otherwise.
std::string ReadSambaWorkgroup(const std::vector<std::string>& configFiles);

}  // namespace vn

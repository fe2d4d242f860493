#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vn {

// The parameters of the [global] section of Samba configuration text (and
// those before any section), keyed by their canonical names: lower case,
// blanks removed, as Samba compares them. A later setting replaces an
// earlier one. "#" and ";" start comment lines and a trailing "\" continues
// a line; include directives are not followed.
std::map<std::string, std::string> GlobalSambaParameters(std::string_view text);

// The canonical form of a parameter name ("Name Resolve Order" ->
// "nameresolveorder").
std::string CanonicalSambaName(std::string_view name);

// The Samba client configuration files in the order libsmbclient tries
// them: $HOME/.smb/smb.conf, then /etc/samba/smb.conf.
std::vector<std::string> DefaultSambaConfigFiles();

// The text of the first of the files that can be read, as libsmbclient
// takes the first configuration it can load; nothing when none can.
std::optional<std::string> ReadFirstSambaConfig(const std::vector<std::string>& files);

}  // namespace vn

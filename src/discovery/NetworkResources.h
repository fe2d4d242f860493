#pragma once

#include <string>

#include "platform/NetworkBrowser.h"

namespace vn {

// The descriptors the network scan builds for a name the user typed.

// A typed container, taken first as a domain or workgroup.
NetResource TypedDomain(const std::string& name);

// The same name, taken then as a network provider's name.
void MakeProvider(NetResource& resource);

}  // namespace vn

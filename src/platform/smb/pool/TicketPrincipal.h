#pragma once

#include <string>

namespace vn::smb {

// The principal of the default Kerberos credential cache (KRB5CCNAME, else the
// library's default), "alice@EXAMPLE.COM"; empty when there is no cache or
// it holds no principal.
std::string TicketPrincipal();

}  // namespace vn::smb

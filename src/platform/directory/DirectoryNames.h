#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vn::directory {

// "lab.test" -> "DC=lab,DC=test": the naming context of an Active Directory
// domain, whose DNS name it repeats.
std::string DomainBaseDn(std::string_view dnsDomain);

// The DNS domain a distinguished name lies in, from its DC components:
// "OU=Servers,DC=lab,DC=test" -> "lab.test".
std::string DnsDomainOfDn(std::string_view dn);

// True for a name that can only be a DNS domain: dotted, with a last label
// that is not a number ("lab.test" yes, "LAB" and "127.0.0.2" no).
bool LooksLikeDnsDomain(std::string_view name);

// The value of a distinguished name's first component, unescaped:
// "OU=Web\, Intranet,DC=lab" -> "Web, Intranet". Empty when there is none.
std::string FirstRdnValue(std::string_view dn);

// How many components of a distinguished name lie below its domain (its
// components other than DC=): "OU=A,OU=B,DC=lab,DC=test" -> 2.
std::size_t DepthBelowDomain(std::string_view dn);

// True when a userAccountControl value has the account-disabled bit (0x2).
bool AccountDisabled(std::string_view userAccountControl);

// The name a computer account is reached by: its dNSHostName, else its cn.
std::string ComputerServerName(std::string_view dnsHostName, std::string_view cn);

}  // namespace vn::directory

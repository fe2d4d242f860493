#pragma once

#include "platform/Accounts.h"
#include "platform/smb/SmbConnector.h"

namespace vn::smb {

// LookupAccountName on another computer, through its LSA (\lsarpc).
class SmbAccounts : public Accounts {
public:
    explicit SmbAccounts(SmbConnector& connector) : connector_(connector) {}

    [[nodiscard]] Status LookupAccountName(std::string_view systemName, std::string_view accountName, Sid& sid,
                                           std::string& referencedDomain, SidNameUse& use) override;

private:
    SmbConnector& connector_;
};

}  // namespace vn::smb

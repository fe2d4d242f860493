#pragma once

#include <string>

#include <libsmbclient.h>

namespace vn::smb::testing {

// An SMB session to a lab host that the host counts as one of its own
// logged-on users: Samba lists a session in NetrWkstaUserEnum only when it
// arrived on port 139 with the host's own NetBIOS name as calling name.
// The session lasts as long as this object.
class LabLogonSession {
public:
    LabLogonSession(const std::string& address, const std::string& hostName, const std::string& user,
                    const std::string& password);
    ~LabLogonSession();
    LabLogonSession(const LabLogonSession&) = delete;
    LabLogonSession& operator=(const LabLogonSession&) = delete;

    // Empty when the session stands, else what went wrong.
    const std::string& Error() const { return error_; }

private:
    static void Authenticate(SMBCCTX* context, const char* server, const char* share, char* workgroup,
                             int workgroupLength, char* user, int userLength, char* password, int passwordLength);

    std::string user_;
    std::string password_;
    std::string error_;
    SMBCCTX* context_ = nullptr;
    SMBCFILE* file_ = nullptr;
};

}  // namespace vn::smb::testing

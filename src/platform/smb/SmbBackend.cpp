#include "platform/smb/SmbBackend.h"

namespace vn::smb {

void SmbBackend::SetPassword(std::string_view user, std::string_view password, std::string_view domain) {
    connector_.SetCredentials(SmbCredentials::FromPassword(user, password, domain));
}

Status SmbBackend::SetAuthFile(const std::string& path) {
    SmbCredentials credentials;
    if (Status status = SmbCredentials::FromAuthFile(path, credentials); status != ERROR_SUCCESS)
        return status;
    connector_.SetCredentials(credentials);
    return ERROR_SUCCESS;
}

void SmbBackend::SetUseKerberos(bool use) {
    SmbCredentials credentials = connector_.Credentials();
    credentials.SetUseKerberos(use);
    connector_.SetCredentials(credentials);
}

}  // namespace vn::smb

#include "LabLogonSession.h"

#include <fcntl.h>
#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vn::smb::testing {

namespace {

void CopyField(char* out, int size, const std::string& value) {
    if (size <= 0)
        return;
    const std::size_t length = std::min(value.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(out, value.data(), length);
    out[length] = '\0';
}

}  // namespace

LabLogonSession::LabLogonSession(const std::string& address, const std::string& hostName, const std::string& user,
                                 const std::string& password)
    : user_(user),
      password_(password) {
    context_ = smbc_new_context();
    if (!context_) {
        error_ = "no libsmbclient context";
        return;
    }
    smbc_setOptionUserData(context_, this);
    smbc_setFunctionAuthDataWithContext(context_, &LabLogonSession::Authenticate);
    smbc_setOptionNoAutoAnonymousLogin(context_, 1);
    smbc_setNetbiosName(context_, hostName.c_str());
    smbc_setPort(context_, 139);
    smbc_setTimeout(context_, 8000);
    if (!smbc_init_context(context_)) {
        error_ = std::string("smbc_init_context: ") + std::strerror(errno);
        smbc_free_context(context_, 1);
        context_ = nullptr;
        return;
    }
    const std::string url = "smb://" + address + "/IPC$/srvsvc";
    file_ = smbc_getFunctionOpen(context_)(context_, url.c_str(), O_RDWR, 0);
    if (!file_)
        error_ = "cannot open " + url + ": " + std::strerror(errno);
}

LabLogonSession::~LabLogonSession() {
    if (!context_)
        return;
    if (file_)
        smbc_getFunctionClose(context_)(context_, file_);
    smbc_free_context(context_, 1);
}

void LabLogonSession::Authenticate(SMBCCTX* context, const char*, const char*, char*, int, char* user, int userLength,
                                   char* password, int passwordLength) {
    const auto* self = static_cast<const LabLogonSession*>(smbc_getOptionUserData(context));
    CopyField(user, userLength, self->user_);
    CopyField(password, passwordLength, self->password_);
}

}  // namespace vn::smb::testing

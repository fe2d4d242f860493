#include "platform/smb/SmbContext.h"

#include <cerrno>
#include <cctype>
#include <cstring>

#include "platform/smb/StatusMapping.h"

namespace vn::smb {

namespace {

void CopyField(char* out, int size, const std::string& value) {
    if (size <= 0)
        return;
    const std::size_t room = static_cast<std::size_t>(size) - 1;
    const std::size_t length = value.size() < room ? value.size() : room;
    std::memcpy(out, value.data(), length);
    out[length] = '\0';
}

}  // namespace

std::mutex& SmbContext::LibraryMutex() {
    static std::mutex mutex;
    return mutex;
}

Status SmbContext::Create(const SmbCredentials& credentials, Purpose purpose,
                          std::shared_ptr<SmbContext>& result) {
    std::shared_ptr<SmbContext> self(new SmbContext);
    self->credentials_ = credentials;
    std::lock_guard<std::mutex> lock(LibraryMutex());
    SMBCCTX* context = smbc_new_context();
    if (!context)
        return ERROR_NOT_ENOUGH_MEMORY;
    smbc_setOptionUserData(context, self.get());
    smbc_setFunctionAuthDataWithContext(context, &SmbContext::Authenticate);
    smbc_setOptionNoAutoAnonymousLogin(context, 1);
    smbc_setOptionUseKerberos(context, credentials.useKerberos() ? 1 : 0);
    smbc_setOptionFallbackAfterKerberos(context, 1);
    smbc_setOptionUseCCache(context, credentials.useKerberos() ? 1 : 0);
    smbc_setTimeout(context, kTimeoutMs);
    if (purpose == Purpose::Browse)
        smbc_setOptionProtocols(context, "NT1", "NT1");
    else
        smbc_setOptionProtocols(context, "SMB2_02", "SMB3");
    if (!smbc_init_context(context)) {
        const int error = errno;
        smbc_free_context(context, 1);
        return StatusFromConnectErrno(error);
    }
    self->context_ = context;
    result = std::move(self);
    return ERROR_SUCCESS;
}

SmbContext::~SmbContext() {
    if (context_) {
        std::lock_guard<std::mutex> lock(LibraryMutex());
        smbc_free_context(context_, 1);
    }
}

void SmbContext::Authenticate(SMBCCTX* context, const char*, const char*, char* workgroup,
                              int workgroupLength, char* user, int userLength, char* password,
                              int passwordLength) {
    const auto* self = static_cast<const SmbContext*>(smbc_getOptionUserData(context));
    if (!self)
        return;
    const SmbCredentials& credentials = self->credentials_;
    if (!credentials.domain().empty())
        CopyField(workgroup, workgroupLength, credentials.domain());
    CopyField(user, userLength, credentials.user());
    CopyField(password, passwordLength, credentials.password());
}

bool SmbContext::UrlHostName(std::string_view name, std::string& host) {
    while (!name.empty() && (name.front() == '\\' || name.front() == '/'))
        name.remove_prefix(1);
    if (name.empty())
        return false;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool allowed = std::isalnum(byte) || c == '-' || c == '.' || c == '_' || c == '$' ||
                             byte >= 0x80;
        if (!allowed)
            return false;
    }
    host.assign(name);
    return true;
}

}  // namespace vn::smb

#include "platform/smb/helper/LibSmbSession.h"

#include <fcntl.h>
#include <cerrno>
#include <cstring>

namespace vn::smb::helper {

namespace {

void CopyField(char* out, int size, const std::string& value) {
    if (size <= 0)
        return;
    const std::size_t room = static_cast<std::size_t>(size) - 1;
    const std::size_t length = value.size() < room ? value.size() : room;
    std::memcpy(out, value.data(), length);
    out[length] = '\0';
}

int ErrnoOr(int fallback) { return errno != 0 ? errno : fallback; }

void FreeContext(SMBCCTX* context) {
    if (context)
        smbc_free_context(context, 1);
}

}  // namespace

int LibSmbSession::Create(const Logon& logon, std::unique_ptr<HelperSession>& session) {
    std::unique_ptr<LibSmbSession> self(new LibSmbSession(logon));
    if (int error = self->NewContext(Purpose::Rpc, self->rpc_); error != 0)
        return error;
    session = std::move(self);
    return 0;
}

LibSmbSession::~LibSmbSession() {
    for (const auto& [handle, file] : files_)
        smbc_getFunctionClose(rpc_)(rpc_, file);
    FreeContext(rpc_);
    if (!logon_.password.empty())
        explicit_bzero(logon_.password.data(), logon_.password.size());
}

int LibSmbSession::NewContext(Purpose purpose, SMBCCTX*& result) {
    SMBCCTX* context = smbc_new_context();
    if (!context)
        return ENOMEM;
    smbc_setOptionUserData(context, this);
    smbc_setFunctionAuthDataWithContext(context, &LibSmbSession::Authenticate);
    smbc_setOptionNoAutoAnonymousLogin(context, 1);
    smbc_setOptionUseKerberos(context, logon_.kerberos ? 1 : 0);
    smbc_setOptionFallbackAfterKerberos(context, 1);
    smbc_setOptionUseCCache(context, logon_.kerberos ? 1 : 0);
    smbc_setTimeout(context, kLibraryTimeoutMs);
    if (purpose == Purpose::Browse)
        smbc_setOptionProtocols(context, "NT1", "NT1");
    else
        smbc_setOptionProtocols(context, "SMB2_02", "SMB3");
    errno = 0;
    if (!smbc_init_context(context)) {
        const int error = ErrnoOr(EINVAL);
        smbc_free_context(context, 1);
        return error;
    }
    result = context;
    return 0;
}

void LibSmbSession::Authenticate(SMBCCTX* context, const char*, const char*, char* workgroup, int workgroupLength,
                                 char* user, int userLength, char* password, int passwordLength) {
    const auto* self = static_cast<const LibSmbSession*>(smbc_getOptionUserData(context));
    if (!self)
        return;
    if (!self->logon_.domain.empty())
        CopyField(workgroup, workgroupLength, self->logon_.domain);
    CopyField(user, userLength, self->logon_.user);
    CopyField(password, passwordLength, self->logon_.password);
}

SMBCFILE* LibSmbSession::File(std::uint32_t handle) const {
    const auto found = files_.find(handle);
    return found == files_.end() ? nullptr : found->second;
}

int LibSmbSession::OpenPipe(const std::string& host, const std::string& pipe, std::uint32_t& handle) {
    const std::string url = "smb://" + host + "/IPC$/" + pipe;
    errno = 0;
    SMBCFILE* file = smbc_getFunctionOpen(rpc_)(rpc_, url.c_str(), O_RDWR, 0);
    if (!file)
        return ErrnoOr(EIO);
    handle = nextHandle_++;
    files_[handle] = file;
    return 0;
}

int LibSmbSession::Write(std::uint32_t handle, std::span<const std::uint8_t> bytes) {
    SMBCFILE* file = File(handle);
    if (!file)
        return EBADF;
    std::size_t done = 0;
    while (done < bytes.size()) {
        errno = 0;
        const ssize_t written = smbc_getFunctionWrite(rpc_)(rpc_, file, bytes.data() + done, bytes.size() - done);
        if (written <= 0)
            return ErrnoOr(EIO);
        done += static_cast<std::size_t>(written);
    }
    return 0;
}

int LibSmbSession::Read(std::uint32_t handle, std::span<std::uint8_t> out, bool& ended) {
    SMBCFILE* file = File(handle);
    if (!file)
        return EBADF;
    std::size_t done = 0;
    while (done < out.size()) {
        errno = 0;
        const ssize_t got = smbc_getFunctionRead(rpc_)(rpc_, file, out.data() + done, out.size() - done);
        if (got < 0)
            return ErrnoOr(EIO);
        if (got == 0) {
            ended = true;
            return 0;
        }
        done += static_cast<std::size_t>(got);
    }
    return 0;
}

void LibSmbSession::Close(std::uint32_t handle) {
    if (SMBCFILE* file = File(handle)) {
        smbc_getFunctionClose(rpc_)(rpc_, file);
        files_.erase(handle);
    }
}

int LibSmbSession::Browse(const std::string& url, const std::function<void(const BrowseEntry&)>& entry) {
    // The protocol range is the library's global setting, not the context's:
    // left at NT1 by a browse, every later pipe of this helper would offer
    // SMB1 only, which current servers refuse.
    struct RestoreRpcProtocols {
        SMBCCTX* rpc;
        ~RestoreRpcProtocols() { smbc_setOptionProtocols(rpc, "SMB2_02", "SMB3"); }
    } restore{rpc_};
    SMBCCTX* context = nullptr;
    if (int error = NewContext(Purpose::Browse, context); error != 0)
        return error;
    errno = 0;
    SMBCFILE* dir = smbc_getFunctionOpendir(context)(context, url.c_str());
    if (!dir) {
        const int error = ErrnoOr(EIO);
        FreeContext(context);
        return error;
    }
    while (const smbc_dirent* found = smbc_getFunctionReaddir(context)(context, dir)) {
        BrowseEntry item;
        switch (found->smbc_type) {
        case SMBC_WORKGROUP: item.kind = EntryKind::Workgroup; break;
        case SMBC_SERVER: item.kind = EntryKind::Server; break;
        case SMBC_FILE_SHARE: item.kind = EntryKind::FileShare; break;
        case SMBC_PRINTER_SHARE: item.kind = EntryKind::PrinterShare; break;
        default: continue;  // IPC$ and other special shares are not resources to browse
        }
        item.name.assign(found->name, strnlen(found->name, found->namelen ? found->namelen : kMaxEntryText));
        item.comment = found->comment ? found->comment : "";
        entry(item);
    }
    smbc_getFunctionClosedir(context)(context, dir);
    FreeContext(context);
    return 0;
}

}  // namespace vn::smb::helper

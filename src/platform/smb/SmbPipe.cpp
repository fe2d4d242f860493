#include "platform/smb/SmbPipe.h"

#include <cerrno>
#include <fcntl.h>

#include "platform/smb/StatusMapping.h"

namespace vn::smb {

SmbPipe::SmbPipe(std::shared_ptr<SmbContext> context, SMBCFILE* file)
    : context_(std::move(context)), file_(file) {}

Status SmbPipe::Open(std::shared_ptr<SmbContext> context, const std::string& host,
                     const std::string& pipeName, std::unique_ptr<PipeStream>& result) {
    const std::string url = "smb://" + host + "/IPC$/" + pipeName;
    std::lock_guard<std::mutex> lock(SmbContext::LibraryMutex());
    SMBCCTX* ctx = context->get();
    errno = 0;
    SMBCFILE* file = smbc_getFunctionOpen(ctx)(ctx, url.c_str(), O_RDWR, 0);
    if (!file)
        return StatusFromConnectErrno(errno);
    result.reset(new SmbPipe(std::move(context), file));
    return ERROR_SUCCESS;
}

SmbPipe::~SmbPipe() {
    std::lock_guard<std::mutex> lock(SmbContext::LibraryMutex());
    SMBCCTX* ctx = context_->get();
    smbc_getFunctionClose(ctx)(ctx, file_);
}

Status SmbPipe::Write(std::span<const std::uint8_t> bytes) {
    std::lock_guard<std::mutex> lock(SmbContext::LibraryMutex());
    SMBCCTX* ctx = context_->get();
    std::size_t done = 0;
    while (done < bytes.size()) {
        errno = 0;
        const ssize_t written = smbc_getFunctionWrite(ctx)(ctx, file_, bytes.data() + done,
                                                           bytes.size() - done);
        if (written <= 0)
            return StatusFromIoErrno(errno);
        done += static_cast<std::size_t>(written);
    }
    return ERROR_SUCCESS;
}

Status SmbPipe::ReadExact(std::uint8_t* out, std::size_t size) {
    std::lock_guard<std::mutex> lock(SmbContext::LibraryMutex());
    SMBCCTX* ctx = context_->get();
    std::size_t done = 0;
    while (done < size) {
        errno = 0;
        const ssize_t got = smbc_getFunctionRead(ctx)(ctx, file_, out + done, size - done);
        if (got < 0)
            return StatusFromIoErrno(errno);
        if (got == 0)
            return ERROR_BROKEN_PIPE;
        done += static_cast<std::size_t>(got);
    }
    return ERROR_SUCCESS;
}

}  // namespace vn::smb

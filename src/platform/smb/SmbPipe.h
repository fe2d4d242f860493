#pragma once

#include <memory>
#include <string>

#include "platform/smb/PipeStream.h"
#include "platform/smb/SmbContext.h"

namespace vn::smb {

// A named pipe on a host's IPC$ share, opened as a file through a context.
class SmbPipe : public PipeStream {
public:
    // Opens smb://host/IPC$/pipeName.
    static Status Open(std::shared_ptr<SmbContext> context, const std::string& host,
                       const std::string& pipeName, std::unique_ptr<PipeStream>& result);
    ~SmbPipe() override;

    Status Write(std::span<const std::uint8_t> bytes) override;
    Status ReadExact(std::uint8_t* out, std::size_t size) override;

private:
    SmbPipe(std::shared_ptr<SmbContext> context, SMBCFILE* file);

    std::shared_ptr<SmbContext> context_;
    SMBCFILE* file_;
};

}  // namespace vn::smb

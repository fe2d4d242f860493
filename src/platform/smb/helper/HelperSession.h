#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "platform/smb/protocol/HelperMessages.h"

namespace vn::smb::helper {

// What a helper does for its program, behind the framed protocol: libsmbclient
// in the real helper, a scripted server in tests. Failures are errno values.
class HelperSession {
public:
    virtual ~HelperSession() = default;

    virtual int OpenPipe(const std::string& host, const std::string& pipe, std::uint32_t& handle) = 0;
    virtual int Write(std::uint32_t handle, std::span<const std::uint8_t> bytes) = 0;
    // Exactly out.size() bytes; ended when the pipe ends first.
    virtual int Read(std::uint32_t handle, std::span<std::uint8_t> out, bool& ended) = 0;
    virtual void Close(std::uint32_t handle) = 0;
    virtual int Browse(const std::string& url, const std::function<void(const BrowseEntry&)>& entry) = 0;
};

// Makes the session once the program's credentials have arrived.
using SessionFactory = std::function<int(const Logon& logon, std::unique_ptr<HelperSession>& session)>;

}  // namespace vn::smb::helper

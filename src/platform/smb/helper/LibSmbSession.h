#pragma once

#include <map>
#include <memory>

#include <libsmbclient.h>

#include "platform/smb/helper/HelperSession.h"

namespace vn::smb::helper {

// libsmbclient in the helper process: one SMB2/3 context whose cached,
// logged-on sessions every pipe to the same host reuses, and a fresh SMB1
// context for each browse (browse lists exist only there). Single-threaded,
// like the library.
class LibSmbSession final : public HelperSession {
public:
    static int Create(const Logon& logon, std::unique_ptr<HelperSession>& session);
    ~LibSmbSession() override;

    int OpenPipe(const std::string& host, const std::string& pipe, std::uint32_t& handle) override;
    int Write(std::uint32_t handle, std::span<const std::uint8_t> bytes) override;
    int Read(std::uint32_t handle, std::span<std::uint8_t> out, bool& ended) override;
    void Close(std::uint32_t handle) override;
    int Browse(const std::string& url, const std::function<void(const BrowseEntry&)>& entry) override;

    // The library's own bound of a connection attempt and of each wait for an
    // answer; the program ends a call that takes longer than its own limit.
    static constexpr int kLibraryTimeoutMs = 8000;

private:
    enum class Purpose { Rpc, Browse };

    explicit LibSmbSession(const Logon& logon) : logon_(logon) {}
    int NewContext(Purpose purpose, SMBCCTX*& context);
    SMBCFILE* File(std::uint32_t handle) const;
    static void Authenticate(SMBCCTX* context, const char* server, const char* share, char* workgroup,
                             int workgroupLength, char* user, int userLength, char* password, int passwordLength);

    Logon logon_;
    SMBCCTX* rpc_ = nullptr;
    std::map<std::uint32_t, SMBCFILE*> files_;
    std::uint32_t nextHandle_ = 1;
};

}  // namespace vn::smb::helper

#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include <libsmbclient.h>

#include "platform/Status.h"
#include "platform/smb/SmbCredentials.h"

namespace vn::smb {

// One libsmbclient context: its SMB sessions, the credentials it logs on
// with, its time-outs. libsmbclient as distributed has no thread support: its
// calls share process-wide scratch memory even on separate contexts, so every
// call into it, on any context, holds LibraryMutex().
class SmbContext {
public:
    enum class Purpose {
        Rpc,     // SMB2/3, signed: named pipes on IPC$
        Browse,  // SMB1: browse lists exist only there
    };

    static Status Create(const SmbCredentials& credentials, Purpose purpose,
                         std::shared_ptr<SmbContext>& result);
    ~SmbContext();
    SmbContext(const SmbContext&) = delete;
    SmbContext& operator=(const SmbContext&) = delete;

    // Time bound of a connection attempt and of each wait for an answer.
    static constexpr int kTimeoutMs = 8000;

    SMBCCTX* get() const { return context_; }
    static std::mutex& LibraryMutex();

    // A host name usable in an smb:// URL: leading backslashes dropped;
    // false when it holds characters that would change the URL's meaning.
    static bool UrlHostName(std::string_view name, std::string& host);

private:
    SmbContext() = default;
    static void Authenticate(SMBCCTX* context, const char* server, const char* share,
                             char* workgroup, int workgroupLength, char* user, int userLength,
                             char* password, int passwordLength);

    SMBCCTX* context_ = nullptr;
    SmbCredentials credentials_;
};

}  // namespace vn::smb

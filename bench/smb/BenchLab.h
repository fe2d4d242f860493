#pragma once

#include <string>

#include "platform/smb/SmbBackend.h"

namespace vn::bench {

// The lab's plain user, whom the benchmarks examine as.
smb::SmbCredentials PlainUser();

// One examination of the lab host at address (RunLabProbe); a failure is
// named on standard error after program.
bool Examine(smb::SmbBackend& backend, const std::string& address, const char* program);

// What an SMB benchmark runs against: a private HOME whose loopback-only
// client configuration libsmbclient and Samba's tools read, an
// authentication file for the lab's plain user, and the Samba lab, the one
// already running or one of its own that it stops again.
class BenchLab {
public:
    BenchLab() = default;
    ~BenchLab();
    BenchLab(const BenchLab&) = delete;
    BenchLab& operator=(const BenchLab&) = delete;

    // False with a reason on standard error.
    bool Start(const char* program);

    const std::string& Home() const { return home_; }
    std::string ClientConfiguration() const { return home_ + "/.smb/smb.conf"; }
    std::string AuthFile() const { return home_ + "/auth"; }

private:
    std::string home_;
    std::string labRoot_;  // set when the lab is ours
};

}  // namespace vn::bench

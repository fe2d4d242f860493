#pragma once

#include <string>

namespace vn::bench {

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

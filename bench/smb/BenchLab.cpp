#include "BenchLab.h"

#include <sys/stat.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "LabProbe.h"
#include "SambaLab.h"

namespace vn::bench {

using vn::lab::SambaLab;

smb::SmbCredentials PlainUser() {
    return smb::SmbCredentials::FromPassword(SambaLab::PlainUser().name, SambaLab::PlainUser().password, "");
}

bool Examine(smb::SmbBackend& backend, const std::string& address, const char* program) {
    lab::LabProbeResult result;
    const Status status = lab::RunLabProbe(backend, address, result);
    if (status != ERROR_SUCCESS)
        std::fprintf(stderr, "%s: examining %s failed with %u\n", program, address.c_str(), status);
    return status == ERROR_SUCCESS;
}

bool BenchLab::Start(const char* program) {
    if (!SambaLab::Installed()) {
        std::fprintf(stderr, "%s: Samba is not installed\n", program);
        return false;
    }
    char pattern[] = "/tmp/vn-smb-bench-XXXXXX";
    const char* scratch = mkdtemp(pattern);
    if (!scratch)
        return false;
    home_ = scratch;
    // A lab below a folder only root may enter fails every logged-on request.
    chmod(scratch, 0755);
    SambaLab::WriteClientConfiguration(home_);
    setenv("HOME", home_.c_str(), 1);
    const mode_t previous = umask(077);
    std::ofstream(AuthFile()) << "username = " << SambaLab::PlainUser().name
                              << "\npassword = " << SambaLab::PlainUser().password << "\n";
    umask(previous);

    if (SambaLab::Running())
        return true;
    labRoot_ = home_ + "/lab";
    std::printf("starting the Samba lab under %s\n", labRoot_.c_str());
    std::string error;
    if (!SambaLab::Start(labRoot_, error)) {
        std::fprintf(stderr, "%s: %s\n", program, error.c_str());
        return false;
    }
    return true;
}

BenchLab::~BenchLab() {
    if (!labRoot_.empty())
        SambaLab::Stop(labRoot_);
    if (!home_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(home_, ignored);
    }
}

}  // namespace vn::bench

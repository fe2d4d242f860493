#include "SmbLabEnvironment.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <filesystem>

#include "LabProcess.h"

namespace vn::smb::testing {

namespace {

std::string unavailableReason;
bool missing = false;
bool ownLab = false;
std::string labRoot;
std::string home;

class Registration : public ::testing::Environment {
public:
    void SetUp() override { SmbLabEnvironment::SetUpOnce(); }
    void TearDown() override { SmbLabEnvironment::TearDownOnce(); }
};

const auto* registration = ::testing::AddGlobalTestEnvironment(new Registration);

}  // namespace

void SmbLabEnvironment::SetUpOnce() {
    char pattern[] = "/tmp/vn-smb-home-XXXXXX";
    if (const char* dir = mkdtemp(pattern))
        home = dir;
    lab::SambaLab::WriteClientConfiguration(home);
    // Nothing of the caller's own set-up may leak into the tests.
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("KRB5CCNAME", ("FILE:" + home + "/no-ticket").c_str(), 1);
    unsetenv("NETWARDEN_AUTH_FILE");

    if (!lab::SambaLab::SambaInstalled()) {
        missing = true;
        unavailableReason = "Samba (smbd) is not installed";
        return;
    }
    const char* binaryDir = std::getenv("VN_TEST_BINARY_DIR");
    if (lab::TcpPortOpen(Host(0), 445)) {
        if (binaryDir)
            labRoot = std::string(binaryDir) + "/samba-lab";  // where the suite's fixture starts it
        return;
    }
    labRoot = std::string(binaryDir ? binaryDir : "/tmp") + "/samba-lab-" + std::to_string(getpid());
    std::string error;
    if (!lab::SambaLab::Start(labRoot, error))
        unavailableReason = "the Samba lab did not start: " + error;
    else
        ownLab = true;
}

void SmbLabEnvironment::TearDownOnce() {
    if (ownLab) {
        lab::SambaLab::Stop(labRoot);
        std::error_code ignored;
        std::filesystem::remove_all(labRoot, ignored);
    }
    if (!home.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    }
}

const std::string& SmbLabEnvironment::Unavailable() { return unavailableReason; }
bool SmbLabEnvironment::SambaMissing() { return missing; }

double SmbLabEnvironment::SecondsSinceLabStart() {
    return labRoot.empty() ? -1 : lab::SambaLab::SecondsSinceStart(labRoot);
}

}  // namespace vn::smb::testing

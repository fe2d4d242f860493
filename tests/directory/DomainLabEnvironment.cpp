#include "DomainLabEnvironment.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <cstdlib>
#include <filesystem>

#include "DomainLab.h"

namespace vn::directory::testing {
namespace {

std::string unavailableReason;
bool ownLab = false;
std::string labRoot;
std::string home;

class Registration : public ::testing::Environment {
public:
    void SetUp() override { DomainLabEnvironment::SetUpOnce(); }
    void TearDown() override { DomainLabEnvironment::TearDownOnce(); }
};

const auto* registration = ::testing::AddGlobalTestEnvironment(new Registration);

}  // namespace

void DomainLabEnvironment::SetUpOnce() {
    char pattern[] = "/tmp/vn-domain-home-XXXXXX";
    if (const char* dir = mkdtemp(pattern))
        home = dir;
    lab::DomainLab::WriteClientConfiguration(home, false);
    lab::DomainLab::WriteKerberosConfiguration(home + "/krb5.conf");
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    setenv("KRB5CCNAME", ("FILE:" + home + "/no-ticket").c_str(), 1);
    setenv("KRB5_CONFIG", (home + "/krb5.conf").c_str(), 1);
    setenv("LDAPTLS_REQCERT", "never", 1);
    unsetenv("NETWARDEN_AUTH_FILE");

    if (!lab::DomainLab::Installed()) {
        unavailableReason = "the Samba domain controller is not installed";
        return;
    }
    const char* binaryDir = std::getenv("VN_TEST_BINARY_DIR");
    if (lab::DomainLab::Running())
        return;  // the suite's fixture's
    labRoot = std::string(binaryDir ? binaryDir : "/tmp") + "/domain-lab-" + std::to_string(getpid());
    std::string error;
    if (!lab::DomainLab::Start(labRoot, error))
        unavailableReason = "the lab domain did not start: " + error;
    else
        ownLab = true;
}

void DomainLabEnvironment::TearDownOnce() {
    std::error_code ignored;
    if (ownLab) {
        lab::DomainLab::Stop(labRoot);
        std::filesystem::remove_all(labRoot, ignored);
    }
    if (!home.empty())
        std::filesystem::remove_all(home, ignored);
}

const std::string& DomainLabEnvironment::Unavailable() { return unavailableReason; }
const std::string& DomainLabEnvironment::Home() { return home; }

}  // namespace vn::directory::testing

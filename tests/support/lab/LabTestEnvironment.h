#pragma once

#include <gtest/gtest.h>
#include <unistd.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

namespace vn::lab {

// Per test program: a temporary HOME in which nothing of the caller's own
// set-up is found, with the client configuration of a lab, and the lab
// itself, either the one the suite's fixture started or, when the program
// runs on its own, one of its own. Lab is the lab's class (SambaLab,
// DomainLab): its folder, title and software, and Installed, Running, Start,
// Stop and PrepareTestHome.
template <typename Lab>
class LabTestEnvironment {
public:
    static void SetUpOnce();
    static void TearDownOnce();

    // Empty when the lab runs; otherwise why the tests cannot.
    static const std::string& Unavailable() { return unavailable_; }
    // The lab's software is not installed here (rather than failing to start).
    static bool Missing() { return missing_; }
    static const std::string& Home() { return home_; }
    // The lab in use: its folder, empty when not known.
    static const std::string& Root() { return root_; }

    // Sets the lab up before the program's first test and stops it after the last.
    class Registration : public ::testing::Environment {
    public:
        void SetUp() override { SetUpOnce(); }
        void TearDown() override { TearDownOnce(); }
    };

private:
    static inline std::string unavailable_;
    static inline bool missing_ = false;
    static inline bool ownLab_ = false;
    static inline std::string root_;
    static inline std::string home_;
};

template <typename Lab>
void LabTestEnvironment<Lab>::SetUpOnce() {
    // Afresh each time: a repeated run (--gtest_repeat) sets up again.
    unavailable_.clear();
    missing_ = false;
    ownLab_ = false;
    root_.clear();
    home_.clear();
    std::string pattern = std::string("/tmp/vn-") + Lab::kFolder + "-home-XXXXXX";
    const char* dir = mkdtemp(pattern.data());
    if (dir == nullptr) {
        // Without a HOME of its own the configuration would land in the caller's.
        unavailable_ = "no temporary HOME: " + std::string(std::strerror(errno));
        return;
    }
    home_ = dir;
    Lab::PrepareTestHome(home_);
    setenv("HOME", home_.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home_ + "/config").c_str(), 1);
    setenv("KRB5CCNAME", ("FILE:" + home_ + "/no-ticket").c_str(), 1);
    unsetenv("NETWARDEN_AUTH_FILE");

    if (!Lab::Installed()) {
        missing_ = true;
        unavailable_ = std::string(Lab::kSoftware) + " is not installed";
        return;
    }
    const char* binaryDir = std::getenv("VN_TEST_BINARY_DIR");
    if (Lab::Running()) {
        if (binaryDir)
            root_ = std::string(binaryDir) + "/" + Lab::kFolder;  // where the suite's fixture starts it
        return;
    }
    root_ = std::string(binaryDir ? binaryDir : "/tmp") + "/" + Lab::kFolder + "-" + std::to_string(getpid());
    std::string error;
    if (!Lab::Start(root_, error))
        unavailable_ = std::string(Lab::kTitle) + " did not start: " + error;
    else
        ownLab_ = true;
}

template <typename Lab>
void LabTestEnvironment<Lab>::TearDownOnce() {
    std::error_code ignored;
    if (ownLab_) {
        Lab::Stop(root_);
        std::filesystem::remove_all(root_, ignored);
    }
    if (!home_.empty())
        std::filesystem::remove_all(home_, ignored);
}

}  // namespace vn::lab

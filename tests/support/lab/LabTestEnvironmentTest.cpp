#include "LabTestEnvironment.h"

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/TempDirectory.h"

namespace vn::lab {
namespace {

namespace fs = std::filesystem;

// A lab that does what the case says, and records what was asked of it.
struct ScriptedLab {
    static constexpr const char* kFolder = "scripted-lab";
    static constexpr const char* kTitle = "the scripted lab";
    static constexpr const char* kSoftware = "The scripted server";

    static inline bool installed = true;
    static inline bool running = false;
    static inline bool starts = true;
    static inline std::vector<std::string> calls;

    static void PrepareTestHome(const std::string& home) {
        calls.push_back(fs::is_directory(home) ? "prepare" : "prepare without a HOME");
    }
    static bool Installed() { return installed; }
    static bool Running() { return running; }
    static bool Start(const std::string& root, std::string& error) {
        calls.push_back("start " + fs::path(root).filename().string());
        fs::create_directories(root);
        if (!starts)
            error = "no port";
        return starts;
    }
    static void Stop(const std::string& root) { calls.push_back("stop " + fs::path(root).filename().string()); }
};

using Environment = LabTestEnvironment<ScriptedLab>;

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "(unset)";
}

TEST(LabTestEnvironmentTest, StartsALabOfItsOwnOnlyWhereNoneRunsAndStopsOnlyThatOne) {
    struct Case {
        const char* name;
        bool installed, running, starts;
        std::string unavailable;
        bool missing;
        std::vector<std::string> calls;  // set-up and tear-down
        std::string root;                // under the binary directory
    };
    const std::string own = std::string("scripted-lab-") + std::to_string(getpid());
    const Case cases[] = {
        {"not installed", false, false, true, "The scripted server is not installed", true, {"prepare"}, ""},
        {"the fixture's", true, true, true, "", false, {"prepare"}, "scripted-lab"},
        {"fails to start",
         true,
         false,
         false,
         "the scripted lab did not start: no port",
         false,
         {"prepare", "start " + own},
         own},
        {"its own", true, false, true, "", false, {"prepare", "start " + own, "stop " + own}, own},
    };
    TempDirectory binaryDir;
    setenv("VN_TEST_BINARY_DIR", binaryDir.Path().c_str(), 1);
    for (const Case& c : cases) {
        ScriptedLab::installed = c.installed;
        ScriptedLab::running = c.running;
        ScriptedLab::starts = c.starts;
        ScriptedLab::calls.clear();
        setenv("NETWARDEN_AUTH_FILE", "/caller/auth", 1);

        Environment::SetUpOnce();
        EXPECT_EQ(Environment::Unavailable(), c.unavailable) << c.name;
        EXPECT_EQ(Environment::Missing(), c.missing) << c.name;
        EXPECT_EQ(Environment::Root(), c.root.empty() ? "" : binaryDir.Path() + "/" + c.root) << c.name;
        const std::string home = Environment::Home();
        EXPECT_TRUE(fs::is_directory(home)) << c.name;
        EXPECT_EQ(Variable("HOME"), home) << c.name;
        EXPECT_EQ(Variable("XDG_CONFIG_HOME"), home + "/config") << c.name;
        EXPECT_EQ(Variable("NETWARDEN_AUTH_FILE"), "(unset)") << c.name;

        Environment::TearDownOnce();
        EXPECT_EQ(ScriptedLab::calls, c.calls) << c.name;
        EXPECT_FALSE(fs::exists(home)) << c.name;
        EXPECT_EQ(fs::exists(binaryDir.Path() + "/" + own), !c.starts && !c.running) << c.name;
    }
}

}  // namespace
}  // namespace vn::lab

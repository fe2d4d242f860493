#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliHost.h"
#include "cli/Netwarden.h"
#include "platform/local/hive/SqliteRegistry.h"
#include "support/FakePlatform.h"
#include "support/MemoryKeyring.h"
#include "support/PlatformOverlay.h"

namespace vn::cli::test {

// The fake network for every other computer, and a real SQLite hive in a
// temporary directory for this computer's registry (the saved inventory).
class HiveBackedPlatform final : public vn::test::PlatformOverlay, public Registry {
public:
    HiveBackedPlatform(vn::test::FakePlatform& network, const HivePaths& hives)
        : PlatformOverlay(network),
          network_(network),
          local_(hives) {
        Use(static_cast<Registry&>(*this));
    }

    Status Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) override {
        if (!computer.empty())
            return network_.registry().Connect(computer, hive, result);
        if (onLocalConnect)
            onLocalConnect();
        return local_.Connect(computer, hive, result);
    }

    // Runs at every connection to this computer's registry, before it is made.
    std::function<void()> onLocalConnect;

private:
    vn::test::FakePlatform& network_;
    SqliteRegistry local_;
};

// A host for in-process runs: output in strings, credentials recorded.
class TestCliHost final : public CliHost {
public:
    TestCliHost(Platform& platform, const ProductCatalogue& catalogue) : platform_(platform), catalogue_(catalogue) {}

    Platform& platform() override { return platform_; }
    const ProductCatalogue& catalogue() override { return catalogue_; }
    bool ApplyCredentials(const CommandLine& commandLine) override {
        credentialsApplied.push_back(commandLine);
        return acceptCredentials;
    }
    CredentialKeyring& keyring() override { return memoryKeyring; }
    bool ReadPassword(std::string_view /*prompt*/, std::string& password) override {
        if (!typedPassword)
            return false;
        password = *typedPassword;
        return true;
    }
    void PrepareWsd(std::chrono::milliseconds wait, bool listAnswerers) override {
        wsdPrepared.emplace_back(wait, listAnswerers);
    }
    std::ostream& out() override { return out_; }
    std::ostream& err() override { return err_; }
    int ErrTerminalColumns() override { return terminalColumns; }

    // Runs netwarden with the words of a command line; output starts afresh.
    int Run(const std::vector<std::string>& arguments) {
        out_.str({});
        err_.str({});
        return RunNetwarden(arguments, *this);
    }
    std::string Out() const { return out_.str(); }
    std::string Err() const { return err_.str(); }
    std::vector<std::string> OutLines() const {
        std::vector<std::string> lines;
        std::istringstream in(out_.str());
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    bool acceptCredentials = true;
    int terminalColumns = 0;  // standard error as a terminal this wide
    vn::test::MemoryKeyring memoryKeyring;
    std::optional<std::string> typedPassword;  // what ReadPassword answers; none: no password
    std::vector<CommandLine> credentialsApplied;
    std::vector<std::pair<std::chrono::milliseconds, bool>> wsdPrepared;  // wait, listAnswerers

private:
    Platform& platform_;
    const ProductCatalogue& catalogue_;
    std::ostringstream out_;
    std::ostringstream err_;
};

}  // namespace vn::cli::test

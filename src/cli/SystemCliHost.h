#pragma once

#include <iostream>

#include "cli/CliHost.h"
#include "credentials/SecretServiceKeyring.h"
#include "platform/system/SystemPlatform.h"

namespace vn::cli {

// The host of the netwarden program: this computer's registry hives and the
// SMB backend, the catalogue beside the program, the process's streams.
class SystemCliHost final : public CliHost {
public:
    Platform& platform() override { return platform_; }
    const ProductCatalogue& catalogue() override;
    bool ApplyCredentials(const CommandLine& commandLine) override;
    CredentialKeyring& keyring() override { return keyring_; }
    bool ReadPassword(std::string_view prompt, std::string& password) override;
    void PrepareWsd(std::chrono::milliseconds wait, bool listAnswerers) override;
    std::ostream& out() override { return std::cout; }
    std::ostream& err() override { return std::cerr; }
    int ErrTerminalColumns() override;

private:
    bool ApplyUser(const std::string& account);
    void WarnIfUnprotected(const std::string& credentialsFile);

    SystemPlatform platform_;
    SecretServiceKeyring keyring_;
    bool catalogueLoaded_ = false;
};

}  // namespace vn::cli

#pragma once

#include <memory>
#include <string>
#include <vector>

#include "credentials/NetworkIdentity.h"
#include "support/MemoryKeyring.h"

namespace vn::test {

// The window's identity on a keyring in memory, recording every set of
// credentials it hands to the remote backend.
struct RecordedIdentity {
    RecordedIdentity(const std::string& authFile, const std::string& unreachable) {
        keyring.unreachable = unreachable;
        identity = std::make_unique<NetworkIdentity>(
            keyring, [this](const smb::SmbCredentials& used) { applied.push_back(used); }, authFile);
    }

    MemoryKeyring keyring;
    std::vector<smb::SmbCredentials> applied;
    std::unique_ptr<NetworkIdentity> identity;
};

}  // namespace vn::test

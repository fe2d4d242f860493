#pragma once

#include <optional>
#include <string>

#include "credentials/CredentialKeyring.h"

namespace vn::test {

// A keyring in memory: one entry, or none; with unreachable set, every call
// fails as a session without a keyring does.
class MemoryKeyring final : public CredentialKeyring {
public:
    bool Reachable(std::string& why) override {
        if (unreachable.empty())
            return true;
        why = unreachable;
        return false;
    }
    Status Load(smb::SmbCredentials& credentials, std::string& why) override {
        if (!Reachable(why))
            return ERROR_SERVICE_NOT_ACTIVE;
        if (!entry)
            return ERROR_NOT_FOUND;
        credentials = *entry;
        return ERROR_SUCCESS;
    }
    Status Save(const smb::SmbCredentials& credentials, std::string& why) override {
        if (!Reachable(why))
            return ERROR_SERVICE_NOT_ACTIVE;
        entry = credentials;
        return ERROR_SUCCESS;
    }
    Status Forget(std::string& why) override {
        if (!Reachable(why))
            return ERROR_SERVICE_NOT_ACTIVE;
        const bool had = entry.has_value();
        entry.reset();
        return had ? ERROR_SUCCESS : ERROR_NOT_FOUND;
    }

    std::optional<smb::SmbCredentials> entry;
    std::string unreachable;  // the reason every call gives; empty: reachable
};

}  // namespace vn::test

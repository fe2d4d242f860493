#pragma once

#include "platform/Registry.h"
#include "platform/smb/SmbConnector.h"

namespace vn::smb {

// RegConnectRegistry for other computers, over MS-RRP (\winreg). Only the
// hives Windows offers remotely: HKEY_LOCAL_MACHINE and HKEY_USERS.
class SmbRegistry : public Registry {
public:
    explicit SmbRegistry(SmbConnector& connector) : connector_(connector) {}

    [[nodiscard]] Status Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) override;

private:
    SmbConnector& connector_;
};

}  // namespace vn::smb

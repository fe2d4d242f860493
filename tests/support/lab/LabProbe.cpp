#include "LabProbe.h"

#include <array>

#include "SambaLab.h"
#include "platform/RegistryValues.h"
#include "platform/RemoteConnectionScope.h"

namespace vn::lab {

namespace {

// Present, present, unreadable for a plain user, absent.
const std::array<const char*, 4> kProductKeys = {
    SambaLab::kProductKey,
    SambaLab::kPolicyKey,
    SambaLab::kLockedProductKey,
    SambaLab::kAbsentProductKey,
};

}  // namespace

int LabProbeProductKeys() { return static_cast<int>(kProductKeys.size()); }

Status RunLabProbe(smb::SmbBackend& backend, const std::string& host, LabProbeResult& result) {
    result = {};
    const RemoteConnectionScope examination;  // as the program's examination keeps its pipes
    RegistryKeyPtr machine;
    if (Status status = backend.registry().Connect(host, Hive::LocalMachine, machine); status != ERROR_SUCCESS)
        return status;
    RegistryKeyPtr services;
    if (Status status = machine->OpenKey("System\\CurrentControlSet\\Services\\", KEY_READ, services);
        status != ERROR_SUCCESS)
        return status;
    for (const char* path : kProductKeys) {
        RegistryKeyPtr product;
        const Status status = machine->OpenKey(path, KEY_READ, product);
        result.keysFound += status == ERROR_SUCCESS;
        result.keysAbsent += status == ERROR_FILE_NOT_FOUND;
        result.keysDenied += status == ERROR_ACCESS_DENIED;
    }
    ServerInfo101 info;
    if (Status status = backend.netInfo().NetServerGetInfo101(host, info); status != ERROR_SUCCESS)
        return status;
    result.serverComment = info.comment;
    RegistryKeyPtr options;
    if (Status status =
            machine->OpenKey("SYSTEM\\CurrentControlSet\\Control\\ProductOptions", KEY_QUERY_VALUE, options);
        status != ERROR_SUCCESS)
        return status;
    return QueryStringValue(*options, "ProductType", result.productType, REG_SZ);
}

}  // namespace vn::lab

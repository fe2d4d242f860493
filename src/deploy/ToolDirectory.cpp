#include "deploy/ToolDirectory.h"

#include <cstdint>
#include <vector>

#include "platform/RegistryValues.h"

namespace vn {
namespace {

constexpr std::uint32_t kImagePathBufferSize = 520;

}  // namespace

std::string ToolDirectoryOfImagePath(std::string_view imagePath) {
    if (!imagePath.empty() && imagePath.front() == '"')
        imagePath.remove_prefix(1);
    const std::size_t separator = imagePath.find_last_of("\\/");
    if (separator == std::string_view::npos || separator == 0)
        return std::string(imagePath);
    return std::string(imagePath.substr(0, separator + 1));
}

std::string ReadToolDirectory(Registry& registry) {
    RegistryKeyPtr machine, service;
    if (registry.Connect("", Hive::LocalMachine, machine) != ERROR_SUCCESS ||
        machine->OpenKey(kToolServiceKey, KEY_READ, service) != ERROR_SUCCESS)
        return {};
    std::vector<std::uint8_t> buffer(kImagePathBufferSize);
    std::uint32_t type = REG_NONE;
    std::uint32_t size = kImagePathBufferSize;
    if (service->QueryValue(kToolImagePathValue, &type, buffer.data(), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return {};
    // The text ends at its first zero, or with the bytes read.
    std::string_view value(reinterpret_cast<const char*>(buffer.data()), size);
    value = value.substr(0, value.find('\0'));
    return ToolDirectoryOfImagePath(value);
}

Status RecordToolProgram(Registry& registry, std::string_view program) {
    RegistryKeyPtr machine, service;
    Status status = registry.Connect("", Hive::LocalMachine, machine);
    if (status == ERROR_SUCCESS)
        status = machine->CreateKey(kToolServiceKey, KEY_WRITE, service);
    if (status == ERROR_SUCCESS)
        status = SetStringValue(*service, kToolImagePathValue, program);
    return status;
}

}  // namespace vn

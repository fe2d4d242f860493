#include "platform/local/SambaWorkgroup.h"

#include "platform/local/SambaConfig.h"

namespace vn {
namespace {

constexpr const char* kDefaultWorkgroup = "WORKGROUP";

std::string UpperCase(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return result;
}

}  // namespace

std::optional<std::string> WorkgroupFromSambaConfig(std::string_view text) {
    const auto parameters = GlobalSambaParameters(text);
    const auto found = parameters.find("workgroup");
    if (found == parameters.end() || found->second.empty())
        return std::nullopt;
    return UpperCase(found->second);
}

std::string ReadSambaWorkgroup(const std::vector<std::string>& configFiles) {
    for (const std::string& file : configFiles) {
        if (const auto text = ReadFirstSambaConfig({file})) {
            if (auto workgroup = WorkgroupFromSambaConfig(*text))
                return *workgroup;
        }
    }
    return kDefaultWorkgroup;
}

}  // namespace vn

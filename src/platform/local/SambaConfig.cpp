#include "platform/local/SambaConfig.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/local/HivePaths.h"

namespace vn {
namespace {

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::string CanonicalSambaName(std::string_view name) {
    std::string result;
    for (char c : name) {
        if (c == ' ' || c == '\t')
            continue;
        result.push_back((c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c);
    }
    return result;
}

std::map<std::string, std::string> GlobalSambaParameters(std::string_view text) {
    std::map<std::string, std::string> parameters;
    bool inGlobal = true;  // parameters before any section are global
    std::string line;
    std::istringstream input{std::string(text)};
    for (std::string physical; std::getline(input, physical);) {
        std::string_view part = Trim(physical);
        if (line.empty() && (part.empty() || part.front() == '#' || part.front() == ';'))
            continue;
        if (!part.empty() && part.back() == '\\') {
            line.append(part.substr(0, part.size() - 1));
            continue;
        }
        line.append(part);
        const std::string_view logical = Trim(line);
        if (!logical.empty() && logical.front() == '[') {
            const auto close = logical.find(']');
            inGlobal = CanonicalSambaName(logical.substr(
                           1, close == std::string_view::npos ? std::string_view::npos : close - 1)) == "global";
        } else if (const auto equals = logical.find('='); inGlobal && equals != std::string_view::npos) {
            parameters[CanonicalSambaName(logical.substr(0, equals))] = std::string(Trim(logical.substr(equals + 1)));
        }
        line.clear();
    }
    return parameters;
}

std::vector<std::string> DefaultSambaConfigFiles() {
    const std::string home = HomeDirectory([](const char* name) { return std::getenv(name); });
    return {home + "/.smb/smb.conf", "/etc/samba/smb.conf"};
}

std::optional<std::string> ReadFirstSambaConfig(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        std::ifstream stream(file);
        if (!stream)
            continue;
        std::ostringstream text;
        text << stream.rdbuf();
        return text.str();
    }
    return std::nullopt;
}

}  // namespace vn

#include "deploy/InstallStatusSink.h"

#include <algorithm>

namespace vn {

std::vector<std::string> DetailEntries(std::string_view text) {
    std::vector<std::string> entries(1);
    for (const char c : text) {
        if (c == '\n')
            entries.emplace_back();
        else if (c != '\r')
            entries.back() += c;
    }
    return entries;
}

bool DetailsShowErrors(const std::vector<std::string>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("error") != std::string::npos || line.find("Error") != std::string::npos;
    });
}

}  // namespace vn

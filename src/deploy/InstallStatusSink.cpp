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

bool LineShowsError(std::string_view line) {
    return line.find("error") != std::string_view::npos || line.find("Error") != std::string_view::npos;
}

bool DetailsShowErrors(const std::vector<std::string>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const std::string& line) { return LineShowsError(line); });
}

}  // namespace vn

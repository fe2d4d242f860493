#include "deploy/InstallStatusSink.h"

#include <algorithm>

namespace vn {

std::vector<std::string> DetailEntries(std::string_view text) {
    std::vector<std::string> entries;
    for (;;) {
        const std::size_t feed = text.find('\n');
        std::string& entry = entries.emplace_back(text.substr(0, feed));
        if (entry.find('\r') != std::string::npos)
            std::erase(entry, '\r');
        if (feed == std::string_view::npos)
            return entries;
        text.remove_prefix(feed + 1);
    }
}

bool LineShowsError(std::string_view line) {
    return line.find("error") != std::string_view::npos || line.find("Error") != std::string_view::npos;
}

bool DetailsShowErrors(const std::vector<std::string>& lines) {
    return std::any_of(lines.begin(), lines.end(), [](const std::string& line) { return LineShowsError(line); });
}

}  // namespace vn

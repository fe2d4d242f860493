#include "deploy/ToolCommandLines.h"

#include <algorithm>

#include "deploy/ToolDirectory.h"
#include "platform/CommandLineQuoting.h"

namespace vn {

std::string InstallCommandLine(const InstallTarget& target) {
    std::string_view path = target.destinationPath;
    if (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    return " install -computer " + QuoteCommandLineArgument(target.hostName) + " -port " + std::to_string(target.port) +
           " -path " + QuoteCommandLineArgument(path);
}

std::string CreateSettingsCommandLine() {
    return " createinifile -inifile " + QuoteCommandLineArgument(kToolSettingsFile);
}

std::string LoadSettingsCommandLine(std::string_view hostName) {
    return " loadinifile -inifile " + QuoteCommandLineArgument(kToolSettingsFile) + " -computer " +
           QuoteCommandLineArgument(hostName);
}

namespace {

constexpr std::size_t kMaxHostNameLength = 255;

// Appended piece by piece: GCC 12 at -O3 warns falsely about a literal + string.
std::string InQuotes(std::string_view text) {
    std::string quoted = "\"";
    quoted.append(text);
    quoted += '"';
    return quoted;
}

}  // namespace

std::string HostNameProblem(std::string_view hostName) {
    const std::string shown = InQuotes(hostName);
    if (hostName.empty())
        return "A computer name cannot be empty.";
    const bool unfit = std::any_of(hostName.begin(), hostName.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F || c == ' ' || c == '"' || c == '\'';
    });
    if (unfit) {
        std::string printable;
        for (const char c : hostName)
            printable += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
        return InQuotes(printable) + " cannot be a computer name: it holds a blank, a quote or a control character.";
    }
    if (hostName.front() == '-')
        return shown + " cannot be a computer name: it begins with \"-\".";
    if (hostName.size() > kMaxHostNameLength)
        return shown + " cannot be a computer name: it is longer than 255 bytes.";
    return {};
}

}  // namespace vn

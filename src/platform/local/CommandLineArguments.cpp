#include "platform/local/CommandLineArguments.h"

namespace vn {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The program argument; pos is left after it and its delimiter.
std::string TakeProgram(std::string_view line, std::size_t& pos) {
    if (!line.empty() && line[0] == '"') {
        const std::size_t close = line.find('"', 1);
        const std::size_t end = close == std::string_view::npos ? line.size() : close;
        pos = close == std::string_view::npos ? line.size() : close + 1;
        return std::string(line.substr(1, end - 1));
    }
    std::size_t end = 0;
    while (end < line.size() && !IsBlank(line[end]))
        ++end;
    pos = end < line.size() ? end + 1 : end;
    return std::string(line.substr(0, end));
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line, std::string_view emptyLineProgram) {
    if (line.empty())
        return {std::string(emptyLineProgram)};
    std::size_t pos = 0;
    std::vector<std::string> arguments{TakeProgram(line, pos)};

    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (pos == line.size())
        return arguments;

    std::string current;
    int quotes = 0;  // 1 while quoting is open
    std::size_t backslashes = 0;
    while (pos < line.size()) {
        const char c = line[pos];
        if (IsBlank(c) && quotes == 0) {
            arguments.push_back(std::move(current));
            current.clear();
            backslashes = 0;
            while (pos < line.size() && IsBlank(line[pos]))
                ++pos;
            if (pos == line.size())
                return arguments;
            continue;
        }
        if (c == '\\') {
            current.push_back(c);
            ++backslashes;
            ++pos;
            continue;
        }
        if (c == '"') {
            // The backslashes before the quote are halved; an odd one out
            // turns this quote into a literal one.
            current.resize(current.size() - backslashes / 2);
            if (backslashes % 2 == 1)
                current.back() = '"';
            else
                ++quotes;
            backslashes = 0;
            for (++pos; pos < line.size() && line[pos] == '"'; ++pos) {
                if (++quotes == 3) {
                    current.push_back('"');
                    quotes = 0;
                }
            }
            if (quotes == 2)
                quotes = 0;
            continue;
        }
        current.push_back(c);
        backslashes = 0;
        ++pos;
    }
    arguments.push_back(std::move(current));
    return arguments;
}

}  // namespace vn

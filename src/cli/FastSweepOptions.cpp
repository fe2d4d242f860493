#include "cli/FastSweepOptions.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace vn::cli {
namespace {

constexpr unsigned long kMostParallel = 65536;
constexpr std::size_t kMostPorts = 16;

// A decimal number of 1 to most, nothing else.
bool ParseCount(std::string_view text, unsigned long most, unsigned long& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end && value >= 1 && value <= most;
}

std::string ParsePorts(std::string_view text, std::vector<std::uint16_t>& ports) {
    ports.clear();
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        unsigned long port = 0;
        if (!ParseCount(text.substr(start, comma - start), 65535, port))
            return "--ports takes port numbers of 1 to 65535 joined by commas";
        if (std::find(ports.begin(), ports.end(), port) == ports.end())
            ports.push_back(static_cast<std::uint16_t>(port));
        start = comma + 1;
    }
    if (ports.size() > kMostPorts)
        return "--ports takes at most " + std::to_string(kMostPorts) + " ports";
    return {};
}

}  // namespace

std::string ParseFastSweepOptions(const CommandLine& line, std::optional<FastSweep>& sweep) {
    sweep.reset();
    if (!line.fast) {
        if (line.parallel || line.ports)
            return "--parallel and --ports go with --fast";
        return {};
    }
    FastSweep result;
    if (line.parallel) {
        unsigned long parallel = 0;
        if (!ParseCount(*line.parallel, kMostParallel, parallel))
            return "--parallel takes a number of 1 to " + std::to_string(kMostParallel);
        result.Parallel = parallel;
    }
    if (line.ports) {
        if (std::string problem = ParsePorts(*line.ports, result.Ports); !problem.empty())
            return problem;
    }
    sweep = std::move(result);
    return {};
}

}  // namespace vn::cli

#include "ProcessPeak.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {

std::string FileText(const std::filesystem::path& path) {
    std::ifstream file(path);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The number after "Field:" in /proc/PID/status; 0 when missing.
std::size_t StatusField(const std::string& status, const std::string& field) {
    const std::size_t at = status.find("\n" + field + ":");
    return at == std::string::npos ? 0 : std::stoul(status.substr(at + field.size() + 2));
}

}  // namespace

ProcessPeak::ProcessPeak(std::string name)
    : name_(std::move(name)),
      sampler_([this] {
          while (!stop_.load()) {
              Sample();
              std::this_thread::sleep_for(std::chrono::milliseconds(20));
          }
      }) {}

ProcessPeak::~ProcessPeak() { Stop(); }

void ProcessPeak::Stop() {
    stop_.store(true);
    if (sampler_.joinable())
        sampler_.join();
}

void ProcessPeak::Sample() {
    std::error_code error;
    for (std::filesystem::directory_iterator entry("/proc", error), end; !error && entry != end;
         entry.increment(error)) {
        const std::filesystem::path dir = entry->path();
        if (FileText(dir / "comm") != name_ + "\n")
            continue;
        const std::string status = FileText(dir / "status");
        rssKiB_ = std::max(rssKiB_, StatusField(status, "VmRSS"));
        threads_ = std::max(threads_, StatusField(status, "Threads"));
        std::error_code ignored;
        const auto fds = std::distance(std::filesystem::directory_iterator(dir / "fd", ignored),
                                       std::filesystem::directory_iterator());
        descriptors_ = std::max(descriptors_, static_cast<std::size_t>(std::max<std::ptrdiff_t>(fds, 0)));
    }
}

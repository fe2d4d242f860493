#include "cli/ProgressLine.h"

#include <algorithm>

#include "cli/TerminalText.h"

namespace vn::cli {
namespace {

constexpr std::chrono::milliseconds kRedrawInterval{100};
// Back to the line's start and clear it; the line never ends in a newline,
// so whatever comes next starts on a clean line.
constexpr const char* kErase = "\r\x1b[K";

std::string Elapsed(std::chrono::steady_clock::duration taken) {
    const long seconds = static_cast<long>(std::chrono::duration_cast<std::chrono::seconds>(taken).count());
    if (seconds < 60)
        return std::to_string(seconds) + "s";
    const long rest = seconds % 60;
    return std::to_string(seconds / 60) + "m" + (rest < 10 ? "0" : "") + std::to_string(rest) + "s";
}

// The first columns characters of UTF-8 text (continuation bytes do not count).
std::string FirstColumns(const std::string& text, int columns) {
    int counted = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && counted++ == columns)
            return text.substr(0, i);
    }
    return text;
}

}  // namespace

ProgressLine::ProgressLine(std::ostream& err, int columns, std::string countNoun)
    : err_(err),
      columns_(columns),
      countNoun_(std::move(countNoun)) {}

ProgressLine::~ProgressLine() { Finish(); }

void ProgressLine::SetProgress(long done, long total, bool asPercent) {
    std::lock_guard lock(lock_);
    done_ = done;
    total_ = total;
    asPercent_ = asPercent;
}

void ProgressLine::SetNow(std::string text) {
    std::lock_guard lock(lock_);
    now_ = std::move(text);
}

void ProgressLine::Count() {
    std::lock_guard lock(lock_);
    ++count_;
}

void ProgressLine::Beside(const std::function<void()>& write) {
    std::lock_guard lock(lock_);
    EraseLocked();
    write();
}

void ProgressLine::Hold(bool held) {
    std::lock_guard lock(lock_);
    held_ = held;
    EraseLocked();
}

void ProgressLine::Draw(bool force) {
    std::lock_guard lock(lock_);
    if (columns_ <= 0 || held_)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && drawn_ && now - lastDraw_ < kRedrawInterval)
        return;
    lastDraw_ = now;
    drawn_ = true;
    // One column short of the width, so the terminal never wraps the line.
    err_ << '\r' << FirstColumns(TextLocked(), columns_ - 1) << "\x1b[K" << std::flush;
}

void ProgressLine::Finish() {
    std::lock_guard lock(lock_);
    EraseLocked();
    columns_ = 0;
}

std::string ProgressLine::Text() const {
    std::lock_guard lock(lock_);
    return TextLocked();
}

std::string ProgressLine::TextLocked() const {
    std::string text;
    if (asPercent_ && total_ > 0)
        text = std::to_string(done_ * 100 / total_) + "%";
    else if (total_ > 0)
        text = std::to_string(done_) + "/" + std::to_string(total_);
    if (!countNoun_.empty())
        text += (text.empty() ? "" : ", ") + std::to_string(count_) + " " + countNoun_;
    text += (text.empty() ? "" : ", ") + Elapsed(std::chrono::steady_clock::now() - start_);
    if (!now_.empty()) {
        std::string now = TerminalText(now_);
        std::replace(now.begin(), now.end(), '\n', ' ');
        text += ": " + now;
    }
    return text;
}

void ProgressLine::EraseLocked() {
    if (!drawn_)
        return;
    err_ << kErase << std::flush;
    drawn_ = false;
}

}  // namespace vn::cli

#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>

namespace vn::cli {

// One live line on a terminal for a long command: done of total, a count of
// what was found, the time taken and what is being done now, drawn again in
// place and taken away at the end. Made with no columns (standard error is
// not a terminal, or --quiet) it writes nothing at all, so pipes and logs
// stay clean. Thread-safe.
class ProgressLine {
public:
    // columns: the terminal's width, 0 for no line. countNoun names the count
    // ("found"); empty leaves the count out.
    ProgressLine(std::ostream& err, int columns, std::string countNoun);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    bool Shown() const { return columns_ > 0; }

    // total 0 leaves the fraction out; asPercent shows done of 100 as "N%".
    void SetProgress(long done, long total, bool asPercent = false);
    void SetNow(std::string text);
    void Count();

    // Runs write, which puts other output on the terminal, with the line
    // taken away meanwhile; the line comes back at the next Draw.
    void Beside(const std::function<void()>& write);
    // While held, the line is away and Draw draws nothing: a question on the
    // terminal waits for its answer.
    void Hold(bool held);
    // Draws the line when the last drawing is older than the redraw interval,
    // or at once with force.
    void Draw(bool force = false);
    // Takes the line away for good; later calls write nothing.
    void Finish();

    // The line as drawn, without the terminal's control sequences; for tests.
    std::string Text() const;

private:
    std::string TextLocked() const;
    void EraseLocked();

    std::ostream& err_;
    int columns_;
    const std::string countNoun_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    mutable std::mutex lock_;
    long done_ = 0;
    long total_ = 0;
    bool asPercent_ = false;
    long count_ = 0;
    std::string now_;
    bool drawn_ = false;
    bool held_ = false;
    std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace vn::cli

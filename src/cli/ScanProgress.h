#pragma once

#include "cli/CommandContext.h"
#include "cli/ProgressLine.h"
#include "core/TextStatusSink.h"

namespace vn::cli {

// A scan command's status: each line goes to the --verbose output and, with
// the sink's position, to the command's progress line on a terminal.
class ScanProgress {
public:
    // How the sink's position reads as done of total.
    enum class Fraction {
        Items,    // the range is the number of items
        Percent,  // the range is 100
        ScaledTo  // the range stands for total items (a bar of at most 65535 steps)
    };

    ScanProgress(CommandContext& context, const char* countNoun, Fraction fraction = Fraction::Items, long total = 0);

    StatusSink& Status() { return status_; }
    // The sink's last status line.
    std::string Text() const { return status_.Text(); }
    ProgressLine& Line() { return line_; }
    // Reads the sink's position and draws the line; on the sink's thread.
    void Tick();

private:
    const Fraction fraction_;
    const long total_;
    ProgressLine line_;
    TextStatusSink status_;
};

}  // namespace vn::cli

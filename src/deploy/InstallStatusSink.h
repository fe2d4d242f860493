#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vn {

// Where a deployment reports: the wizard's progress page, or the text of
// netwarden deploy. The runner calls these from its own thread in the order
// listed; each has taken effect before the call returns.
class InstallStatusSink {
public:
    virtual ~InstallStatusSink() = default;

    // A run over count targets begins: the details are emptied.
    virtual void BeginRun(int count) = 0;
    // Starts or halts the advancing of the current-progress display.
    virtual void SetAnimating(bool on) = 0;
    // The line above the progress bars; called as each target begins, so
    // the details that follow are that target's.
    virtual void SetComputerLine(const std::string& text) = 0;
    // Appends the entries of text (see DetailEntries) to the details. A
    // sink may keep only some of them (the runner needs none back).
    virtual void AddDetails(const std::string& text) = 0;
    virtual void SetTotalPos(int position) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool AskToStop(const std::string& question) = 0;
    // The run has ended: the summary in the computer line, the error note when errors.
    virtual void EndRun(const std::string& summary, bool errors) = 0;
};

// The entries AddDetails makes of text: carriage returns removed, cut at
// each line feed, every piece (the last one too, even when empty) one entry.
std::vector<std::string> DetailEntries(std::string_view text);

// Whether the line holds "error" or "Error"; other letter cases do not count.
bool LineShowsError(std::string_view line);

// Whether any line shows an error (LineShowsError).
bool DetailsShowErrors(const std::vector<std::string>& lines);

}  // namespace vn

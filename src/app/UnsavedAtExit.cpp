#include "app/UnsavedAtExit.h"

#include "core/MessageBoxService.h"
#include "platform/SystemErrorText.h"

namespace vn {
namespace {

// Left-out texts listed; more are counted, so that the box fits the screen.
constexpr std::size_t kLeftOutShown = 10;

}  // namespace

void UnsavedAtExit::Note(std::string_view what, Status status) {
    what_.emplace_back(what);
    if (reason_ == ERROR_SUCCESS)
        reason_ = status;
}

void UnsavedAtExit::NoteLeftOut(const std::vector<std::string>& leftOut) {
    leftOut_.insert(leftOut_.end(), leftOut.begin(), leftOut.end());
}

std::string UnsavedAtExit::Question() const {
    if (what_.empty())
        return {};
    std::string list;
    for (std::size_t i = 0; i < what_.size(); ++i) {
        if (i > 0)
            list += i + 1 == what_.size() ? " and " : ", ";
        list += what_[i];
    }
    std::string reason;
    if (reason_ != ERROR_SUCCESS) {
        // Without the text's Windows line break, which a box here would show.
        reason = SystemErrorText(reason_);
        while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
            reason.pop_back();
        reason += '\n';
    }
    if (!leftOut_.empty())
        reason += "Left out:\n";
    for (std::size_t i = 0; i < leftOut_.size() && i < kLeftOutShown; ++i)
        reason += "- " + leftOut_[i] + '\n';
    if (leftOut_.size() > kLeftOutShown)
        reason += "- and " + std::to_string(leftOut_.size() - kLeftOutShown) + " more\n";
    return "Vantor Netwarden could not save " + list + ".\n" + reason +
           "Close it anyway? Choose No to keep the window open, for instance to export the computer list.";
}

bool UnsavedAtExit::ConfirmClose() const {
    if (what_.empty())
        return true;
    return ShowMessage(kAppCaption, Question(), MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::Yes;
}

}  // namespace vn

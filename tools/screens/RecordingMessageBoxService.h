#pragma once

#include "core/MessageBoxService.h"

namespace vn {

// The rendering has no one to answer questions: every box is written to
// standard error, answered as if dismissed, and counted, since a box means
// the picture would not show what it should.
class RecordingMessageBoxService final : public MessageBoxService {
public:
    MessageAnswer Show(std::string_view caption, std::string_view text, MessageIcon icon,
                       MessageButtons buttons) override;

    int Count() const { return count_; }

private:
    int count_ = 0;
};

}  // namespace vn

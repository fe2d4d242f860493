#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "core/StatusSink.h"

namespace vn {

// A StatusSink without a display: it keeps the state under its own lock and
// hands each status line to an optional function (the command-line program
// prints them). Safe to call from several threads.
class TextStatusSink final : public StatusSink {
public:
    using LineFunction = std::function<void(const std::string& line)>;

    explicit TextStatusSink(LineFunction onLine = {}) : onLine_(std::move(onLine)) {}

    void Reset() override;
    void Show(bool show) override;
    bool IsShown() override;
    void SetStatusText(const std::string& text) override;
    void SetRange(int upper) override;
    void Step() override;
    void SetPos(int position) override;

    std::string Text() const;
    int Position() const;
    int Range() const;

private:
    mutable std::mutex lock_;
    LineFunction onLine_;
    std::string text_;
    bool shown_ = false;
    int range_ = 0;
    int position_ = 0;
};

}  // namespace vn

#include "core/TextStatusSink.h"

namespace vn {

void TextStatusSink::Reset() {
    std::lock_guard lock(lock_);
    text_.clear();
    position_ = 0;
}

void TextStatusSink::Show(bool show) {
    std::lock_guard lock(lock_);
    shown_ = show;
}

bool TextStatusSink::IsShown() {
    std::lock_guard lock(lock_);
    return shown_;
}

void TextStatusSink::SetStatusText(const std::string& text) {
    // The line is handed on under the lock, so lines of several threads
    // never interleave.
    std::lock_guard lock(lock_);
    text_ = text;
    if (onLine_)
        onLine_(text_);
}

void TextStatusSink::SetRange(int upper) {
    std::lock_guard lock(lock_);
    range_ = upper;
}

void TextStatusSink::Step() {
    std::lock_guard lock(lock_);
    ++position_;
}

void TextStatusSink::SetPos(int position) {
    std::lock_guard lock(lock_);
    position_ = position;
}

std::string TextStatusSink::Text() const {
    std::lock_guard lock(lock_);
    return text_;
}

int TextStatusSink::Position() const {
    std::lock_guard lock(lock_);
    return position_;
}

int TextStatusSink::Range() const {
    std::lock_guard lock(lock_);
    return range_;
}

}  // namespace vn

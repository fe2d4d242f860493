#include "core/DispatchedStatusSink.h"

namespace vn {

// Every call is serialised by the target thread's event loop, which runs one
// queued call at a time; no lock is held while waiting for it, so a call
// made on the target thread itself can never wait on a blocked worker.

void DispatchedStatusSink::Reset() {
    dispatcher_.Call([this] { target_.Reset(); });
}

void DispatchedStatusSink::Show(bool show) {
    dispatcher_.Call([this, show] { target_.Show(show); });
}

void DispatchedStatusSink::ShowIdle() {
    dispatcher_.Call([this] { target_.ShowIdle(); });
}

bool DispatchedStatusSink::IsShown() {
    bool shown = false;
    dispatcher_.Call([this, &shown] { shown = target_.IsShown(); });
    return shown;
}

void DispatchedStatusSink::SetStatusText(const std::string& text) {
    dispatcher_.Call([this, &text] { target_.SetStatusText(text); });
}

void DispatchedStatusSink::SetRange(int upper) {
    dispatcher_.Call([this, upper] { target_.SetRange(upper); });
}

void DispatchedStatusSink::Step() {
    dispatcher_.Call([this] { target_.Step(); });
}

void DispatchedStatusSink::SetPos(int position) {
    dispatcher_.Call([this, position] { target_.SetPos(position); });
}

}  // namespace vn

#include "app/TreeStatusSink.h"

#include <QPushButton>

#include "discovery/ui/CTreeStatus.h"

namespace vn {

void TreeStatusSink::Reset() {
    panel_.SetText(QString());
    panel_.SetPos(0);
}

void TreeStatusSink::Show(bool show) {
    visible_ = show;
    panel_.setEnabled(show);
    panel_.CancelButton()->setEnabled(show);
    panel_.setVisible(show);
    onShownChanged_();
}

void TreeStatusSink::ShowIdle() {
    // The text stays readable, not greyed; only Cancel has nothing to do.
    Show(true);
    panel_.CancelButton()->setEnabled(false);
}

void TreeStatusSink::SetStatusText(const std::string& text) {
    std::lock_guard lock(lock_);
    panel_.SetText(QString::fromStdString(text));
}

void TreeStatusSink::SetRange(int upper) { panel_.SetRange(upper); }

void TreeStatusSink::Step() { panel_.Step(); }

void TreeStatusSink::SetPos(int position) { panel_.SetPos(position); }

}  // namespace vn

#pragma once

#include <functional>
#include <mutex>

#include "core/StatusSink.h"

namespace vn {

class CTreeStatus;

// The tree view's StatusSink, drawn by its progress panel. It is called on
// the user-interface thread only (workers reach it through a dispatching
// sink); the lock keeps each status line one step even so.
class TreeStatusSink final : public StatusSink {
public:
    // onShownChanged lets the tree view lay out its children again.
    TreeStatusSink(CTreeStatus& panel, std::function<void()> onShownChanged)
        : panel_(panel),
          onShownChanged_(std::move(onShownChanged)) {}

    void Reset() override;
    void Show(bool show) override;
    void ShowIdle() override;
    bool IsShown() override { return visible_; }
    void SetStatusText(const std::string& text) override;
    void SetRange(int upper) override;
    void Step() override;
    void SetPos(int position) override;

private:
    CTreeStatus& panel_;
    std::function<void()> onShownChanged_;
    std::mutex lock_;
    bool visible_ = false;
};

}  // namespace vn

#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/StatusSink.h"
#include "detect/TreeSink.h"
#include "platform/RemoteConnectionScope.h"

namespace vn::test {

// Keeps every status line, range and position and counts the progress steps
// (a position set starts the count there); thread-safe.
class RecordingStatusSink final : public StatusSink {
public:
    void Reset() override {}
    void Show(bool show) override {
        {
            std::lock_guard lock(mutex_);
            shows_.push_back(show);
        }
        if (onShow)
            onShow(show);
    }
    // Recorded as a show of its own, told apart by IdleShows.
    void ShowIdle() override {
        std::lock_guard lock(mutex_);
        shows_.push_back(true);
        ++idleShows_;
    }
    bool IsShown() override {
        std::lock_guard lock(mutex_);
        return !shows_.empty() && shows_.back();
    }
    void SetStatusText(const std::string& text) override {
        std::lock_guard lock(mutex_);
        lines_.push_back(text);
    }
    void SetRange(int upper) override {
        std::lock_guard lock(mutex_);
        ranges_.push_back(upper);
    }
    void Step() override {
        std::lock_guard lock(mutex_);
        ++steps_;
    }
    void SetPos(int position) override {
        std::lock_guard lock(mutex_);
        positions_.push_back(position);
        steps_ = position;
    }

    std::vector<std::string> Lines() const {
        std::lock_guard lock(mutex_);
        return lines_;
    }
    std::vector<bool> Shows() const {
        std::lock_guard lock(mutex_);
        return shows_;
    }
    int IdleShows() const {
        std::lock_guard lock(mutex_);
        return idleShows_;
    }
    int Steps() const {
        std::lock_guard lock(mutex_);
        return steps_;
    }
    int Range() const {
        std::lock_guard lock(mutex_);
        return ranges_.empty() ? 0 : ranges_.back();
    }
    std::vector<int> Ranges() const {
        std::lock_guard lock(mutex_);
        return ranges_;
    }
    std::vector<int> Positions() const {
        std::lock_guard lock(mutex_);
        return positions_;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        lines_.clear();
        shows_.clear();
        ranges_.clear();
        positions_.clear();
        steps_ = 0;
        idleShows_ = 0;
    }

    // Runs on the caller's thread after each Show is recorded; set before a
    // worker starts.
    std::function<void(bool show)> onShow;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    std::vector<bool> shows_;
    std::vector<int> ranges_;
    std::vector<int> positions_;
    int steps_ = 0;
    int idleShows_ = 0;
};

// Takes every node with its parent, in arrival order; thread-safe.
class RecordingTreeSink final : public TreeSink {
public:
    struct Added {
        std::unique_ptr<InventoryNode> node;
        FolderNode* parent;
        bool connectionsKept;  // filed while the thread's examination kept its pipes
    };

    InventoryNode* AddNode(std::unique_ptr<InventoryNode> node, FolderNode* parent) override {
        RemoteConnectionScope::Keep("recording sink", std::make_shared<int>(0));
        const bool kept = RemoteConnectionScope::Find("recording sink") != nullptr;
        std::lock_guard lock(mutex_);
        InventoryNode* raw = node.get();
        added_.push_back(Added{std::move(node), parent, kept});
        return raw;
    }

    std::size_t Count() const {
        std::lock_guard lock(mutex_);
        return added_.size();
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        added_.clear();
    }
    // Only after the workers have ended.
    const std::vector<Added>& Nodes() const { return added_; }
    const ComputerRecord& Computer(std::size_t index) const {
        return static_cast<const ComputerRecord&>(*added_.at(index).node);
    }

private:
    mutable std::mutex mutex_;
    std::vector<Added> added_;
};

}  // namespace vn::test

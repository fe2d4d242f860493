#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "detect/StatusSink.h"
#include "detect/TreeSink.h"

namespace vn::test {

// Keeps every status line, the last range and counts the progress steps
// (a position set starts the count there); thread-safe.
class RecordingStatusSink final : public StatusSink {
public:
    void Reset() override {}
    void Show(bool show) override {
        std::lock_guard lock(mutex_);
        shows_.push_back(show);
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
        range_ = upper;
    }
    void Step() override {
        std::lock_guard lock(mutex_);
        ++steps_;
    }
    void SetPos(int position) override {
        std::lock_guard lock(mutex_);
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
    int Steps() const {
        std::lock_guard lock(mutex_);
        return steps_;
    }
    int Range() const {
        std::lock_guard lock(mutex_);
        return range_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    std::vector<bool> shows_;
    int steps_ = 0;
    int range_ = 0;
};

// Takes every node with its parent, in arrival order; thread-safe.
class RecordingTreeSink final : public TreeSink {
public:
    struct Added {
        std::unique_ptr<InventoryNode> node;
        FolderNode* parent;
    };

    InventoryNode* AddNode(std::unique_ptr<InventoryNode> node, FolderNode* parent) override {
        std::lock_guard lock(mutex_);
        InventoryNode* raw = node.get();
        added_.push_back(Added{std::move(node), parent});
        return raw;
    }

    std::size_t Count() const {
        std::lock_guard lock(mutex_);
        return added_.size();
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

#include "FakeMainWindowContext.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vn::test {

FakeMainWindowContext::FakeMainWindowContext() { catalogue.AddBuiltIns(); }

FakeMainWindowContext::~FakeMainWindowContext() { computerScan.Stop(); }

void FakeMainWindowContext::Select(std::vector<InventoryNode*> nodes) {
    selection_ = std::move(nodes);
    caret_ = selection_.empty() ? nullptr : selection_.back();
}

std::vector<InventoryNode*> FakeMainWindowContext::SelectedNodes() const { return selection_; }

FolderNode* FakeMainWindowContext::SelectedFolder() const {
    return caret_ != nullptr && caret_->IsFolder ? static_cast<FolderNode*>(caret_) : nullptr;
}

void FakeMainWindowContext::ClearSelection() {
    ++clearSelectionCount;
    selection_.clear();
}

// The commands never reach these two workers: they ask IsScanRunning.
SubnetScanWorker& FakeMainWindowContext::SubnetScan() {
    ADD_FAILURE() << "the subnet scan worker was reached directly";
    std::abort();
}

NetworkScanWorker& FakeMainWindowContext::NetworkScan() {
    ADD_FAILURE() << "the network scan worker was reached directly";
    std::abort();
}

bool FakeMainWindowContext::IsScanRunning(ScanWorkerKind kind) const {
    if (kind == ScanWorkerKind::Computer && computerScan.IsRunning())
        return true;
    const auto found = running.find(kind);
    return found != running.end() && found->second;
}

std::vector<std::pair<std::string, FolderNode*>> FakeMainWindowContext::ScannedEntries() {
    computerScan.Wait();
    std::vector<std::pair<std::string, FolderNode*>> entries;
    for (const auto& added : treeSink.Nodes())
        entries.emplace_back(added.node->Name, added.parent);
    return entries;
}

}  // namespace vn::test

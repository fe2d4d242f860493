#pragma once

#include <string>
#include <vector>

#include "catalogue/ProductCatalogue.h"
#include "core/StatusSink.h"
#include "detect/TreeSink.h"
#include "inventory/InventoryNode.h"
#include "platform/Network.h"

namespace vn {

// One computer to examine and the folder its node goes into (null: the top
// level).
struct ScanEntry {
    std::string Name;
    FolderNode* Parent = nullptr;
    // Where it was last met; it is examined there when its name does not
    // resolve (a computer found by WS-Discovery).
    IPv4 LastKnownIP = 0;
};

// A list of named computers to examine, in order, with where progress and
// results go.
struct ComputerScanJob {
    ComputerScanJob(StatusSink& status, TreeSink& tree, const ProductCatalogue& catalogue)
        : Status(status),
          Tree(tree),
          Catalogue(catalogue) {}

    std::vector<ScanEntry> Entries;
    StatusSink& Status;
    TreeSink& Tree;
    const ProductCatalogue& Catalogue;
};

}  // namespace vn

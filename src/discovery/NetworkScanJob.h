#pragma once

#include <string>

#include "catalogue/ProductCatalogue.h"
#include "core/StatusSink.h"
#include "detect/TreeSink.h"
#include "discovery/StopQuestion.h"
#include "inventory/InventoryNode.h"

namespace vn {

// One browse of the Windows network from a container the user named, with
// where progress, results and stop questions go.
struct NetworkScanJob {
    NetworkScanJob(std::string container, FolderNode* parent, StatusSink& status, TreeSink& tree,
                   const ProductCatalogue& catalogue, StopQuestion& questions)
        : Container(std::move(container)),
          Parent(parent),
          Status(status),
          Tree(tree),
          Catalogue(catalogue),
          Questions(questions) {}

    std::string Container;  // as the user typed it
    FolderNode* Parent;     // where the top folder goes (null: the top level)
    StatusSink& Status;
    TreeSink& Tree;
    const ProductCatalogue& Catalogue;
    StopQuestion& Questions;
};

}  // namespace vn

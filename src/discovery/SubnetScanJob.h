#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "catalogue/ProductCatalogue.h"
#include "core/StatusSink.h"
#include "detect/TreeSink.h"
#include "discovery/StopQuestion.h"
#include "inventory/InventoryNode.h"
#include "platform/Network.h"

namespace vn {

// The fast sweep: the range is swept for the ports first, and only the
// addresses that accept are examined.
struct FastSweep {
    std::vector<std::uint16_t> Ports{139};
    std::size_t Parallel = SweepRequest::kDefaultParallel;
};

// One walk over a range of IPv4 addresses, with where progress, results and
// stop questions go.
struct SubnetScanJob {
    SubnetScanJob(IPv4 from, IPv4 to, bool resolve, FolderNode* parent, StatusSink& status, TreeSink& tree,
                  const ProductCatalogue& catalogue, StopQuestion& questions)
        : From(from),
          To(to),
          Resolve(resolve),
          Parent(parent),
          Status(status),
          Tree(tree),
          Catalogue(catalogue),
          Questions(questions) {}

    IPv4 From;     // first address of the range
    IPv4 To;       // last address, included
    bool Resolve;  // name found computers by reverse lookup
    FolderNode* Parent;
    StatusSink& Status;
    TreeSink& Tree;
    const ProductCatalogue& Catalogue;
    StopQuestion& Questions;
    std::optional<FastSweep> Fast;  // none: each address is tested by its probe
};

}  // namespace vn

#pragma once

#include "catalogue/ProductCatalogue.h"
#include "core/StatusSink.h"
#include "detect/TreeSink.h"
#include "inventory/InventoryNode.h"
#include "platform/Platform.h"

namespace vn {

// What an address probe reads from the subnet scan that started it.
class SubnetScanContext {
public:
    virtual ~SubnetScanContext() = default;

    // Name found computers after their reverse-resolved host name.
    virtual bool ResolveNames() const = 0;
    // The folder found computers go into (null: the top level).
    virtual FolderNode* ParentFolder() const = 0;
    virtual StatusSink& ProgressSink() = 0;
    virtual TreeSink& ResultSink() = 0;
    virtual const ProductCatalogue& Catalogue() const = 0;
    virtual Platform& ScanPlatform() = 0;
    // True when every address handed to a probe has already accepted a
    // connection (the fast sweep), so the probe does not test it again.
    virtual bool AddressesAnswered() const { return false; }
};

}  // namespace vn

#include "inventory/FolderSummary.h"

#include <algorithm>

#include "catalogue/ProductCatalogue.h"
#include "inventory/InventoryNode.h"

namespace vn {

FolderSummary::FolderSummary(const ProductCatalogue& catalogue) {
    for (std::size_t i = 0; i < catalogue.size(); ++i)
        ProductCounts.emplace_back(&catalogue.at(i), 0);
}

void FolderSummary::Reset() {
    Folders = 0;
    Computers = 0;
    for (auto& entry : ProductCounts)
        entry.second = 0;
}

int FolderSummary::CountOf(const ProductDef* product) const {
    auto found = std::find_if(ProductCounts.begin(), ProductCounts.end(),
                              [product](const auto& entry) { return entry.first == product; });
    return found != ProductCounts.end() ? found->second : 0;
}

void SummarizeFolder(const FolderNode& folder, FolderSummary& summary) {
    for (const auto& child : folder.Children) {
        if (const auto* subFolder = dynamic_cast<const FolderNode*>(child)) {
            ++summary.Folders;
            SummarizeFolder(*subFolder, summary);
            continue;
        }
        ++summary.Computers;
        for (const ProductDef* product : static_cast<const ComputerRecord&>(*child).InstalledProducts) {
            auto counter = std::find_if(summary.ProductCounts.begin(), summary.ProductCounts.end(),
                                        [product](const auto& entry) { return entry.first == product; });
            if (counter != summary.ProductCounts.end())
                ++counter->second;
        }
    }
}

}  // namespace vn

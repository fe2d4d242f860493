#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace vn {

struct FolderNode;
struct ProductDef;
class ProductCatalogue;

// Counts over a folder's whole subtree: its folders, its computers and, per
// catalogue product, the computers that have it installed.
struct FolderSummary {
    // One product counter per entry of the catalogue, in catalogue order.
    explicit FolderSummary(const ProductCatalogue& catalogue);

    void Reset();
    // The counter of product; 0 for a product the catalogue did not have.
    int CountOf(const ProductDef* product) const;

    int Folders = 0;
    int Computers = 0;
    std::vector<std::pair<const ProductDef*, int>> ProductCounts;
};

// Adds the counts of everything below folder to summary.
void SummarizeFolder(const FolderNode& folder, FolderSummary& summary);

}  // namespace vn

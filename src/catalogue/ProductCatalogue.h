#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

#include "catalogue/ProductDef.h"

namespace vn {

// The ordered list of products the probe looks for: the two built-in
// products first, then the catalogue file's products in file order. Entries
// are never removed while the program runs (records refer to them), so
// readers take no lock once loading is done.
class ProductCatalogue {
public:
    ProductCatalogue() = default;
    ~ProductCatalogue();
    ProductCatalogue(const ProductCatalogue&) = delete;
    ProductCatalogue& operator=(const ProductCatalogue&) = delete;

    // Appends the built-in products, then reads the catalogue file.
    bool Load();
    // The same with an explicit catalogue file.
    bool Load(const std::filesystem::path& file);

    void AddBuiltIns();
    bool AddUnique(std::unique_ptr<ProductDef> product);
    const ProductDef* FindByName(std::string_view name) const;
    void Clear();

    std::size_t size() const { return entries_.size(); }
    const ProductDef& at(std::size_t index) const { return *entries_[index]; }

    bool WarnIfMissing = true;

private:
    std::mutex lock_;
    std::vector<std::unique_ptr<ProductDef>> entries_;
};

// The catalogue of the running program.
ProductCatalogue& GlobalCatalogue();

// Where the running program's catalogue file lies: beside the program, else
// in the installed data folder (ShippedFiles).
std::filesystem::path CatalogueFilePath();
// The same for the program at that path.
std::filesystem::path CatalogueFilePathFor(const std::filesystem::path& program);

}  // namespace vn

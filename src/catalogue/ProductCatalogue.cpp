#include "catalogue/ProductCatalogue.h"

#include <fstream>
#include <system_error>

#include "catalogue/CatalogueFileReader.h"
#include "catalogue/ProductIcon.h"
#include "core/MessageBoxService.h"
#include "platform/NameFolding.h"
#include "platform/ShippedFiles.h"

namespace vn {
namespace {

constexpr const char* kCatalogueFileName = "VtrNetwarden.ini";
constexpr int kVantorIconId = 189;
constexpr int kKestrelIconId = 191;

std::unique_ptr<ProductDef> BuiltIn(const char* name, int iconId) {
    auto product = std::make_unique<ProductDef>();
    product->DisplayName = name;
    product->ServiceName = name;
    product->ServicePath = std::string("System\\CurrentControlSet\\Services\\") + name;
    product->Icon = ProductIconResource(iconId);
    return product;
}

}  // namespace

ProductCatalogue::~ProductCatalogue() { Clear(); }

bool ProductCatalogue::Load() { return Load(CatalogueFilePath()); }

bool ProductCatalogue::Load(const std::filesystem::path& file) {
    AddBuiltIns();
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        if (WarnIfMissing) {
            const std::string text = "Could not open file \"" + file.string() + "\".";
            ShowMessage(kAppCaption, text, MessageIcon::Warning);
        }
        return true;
    }
    ReadCatalogueFile(
        in, [this](std::unique_ptr<ProductDef> product) { AddUnique(std::move(product)); },
        [&file](int line, const std::string& name) {
            const std::string text = "The product \"" + name + "\" at line " + std::to_string(line) + " of \"" +
                                     file.string() +
                                     "\" is left out: a product name must not be empty, hold a backslash or be "
                                     "longer than 255 characters.";
            ShowMessage(kAppCaption, text, MessageIcon::Warning);
        });
    return true;
}

void ProductCatalogue::AddBuiltIns() {
    std::lock_guard lock(lock_);
    entries_.push_back(BuiltIn("Vantor", kVantorIconId));
    entries_.push_back(BuiltIn("Kestrel", kKestrelIconId));
}

bool ProductCatalogue::AddUnique(std::unique_ptr<ProductDef> product) {
    std::lock_guard lock(lock_);
    if (!product || FindByName(product->DisplayName))
        return false;
    entries_.push_back(std::move(product));
    return true;
}

const ProductDef* ProductCatalogue::FindByName(std::string_view name) const {
    // The rule of the registry, where the names are stored as key names.
    for (const auto& entry : entries_) {
        if (NamesEqualFolded(entry->DisplayName, name))
            return entry.get();
    }
    return nullptr;
}

void ProductCatalogue::Clear() {
    std::lock_guard lock(lock_);
    entries_.clear();
}

ProductCatalogue& GlobalCatalogue() {
    static ProductCatalogue catalogue;
    return catalogue;
}

std::filesystem::path CatalogueFilePath() {
    const std::filesystem::path program = RunningProgram();
    if (program.empty())
        return kCatalogueFileName;
    return CatalogueFilePathFor(program);
}

std::filesystem::path CatalogueFilePathFor(const std::filesystem::path& program) {
    // A program named like a Windows one ("x.exe") has its catalogue beside
    // it under the same name with ".ini"; ours carry no extension, so the
    // catalogue has the fixed name in the program's folder. Only the end of
    // the file name counts: folders may hold ".exe" anywhere.
    // The file is looked for beside the program, then in the installed data folder.
    constexpr std::string_view kWindowsEnding = ".exe";
    const std::string name = program.filename().string();
    if (name.size() > kWindowsEnding.size() && name.ends_with(kWindowsEnding))
        return FindShippedFile(program, name.substr(0, name.size() - kWindowsEnding.size()) + ".ini",
                               ShippedKind::Data);
    return FindShippedFile(program, kCatalogueFileName, ShippedKind::Data);
}

}  // namespace vn

#include "detect/ProductCatalogue.h"

#include <QString>
#include <fstream>
#include <system_error>

#include "detect/CatalogueFileReader.h"
#include "detect/ProductIcon.h"
#include "ui/MessageBoxService.h"

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
    ReadCatalogueFile(in, [this](std::unique_ptr<ProductDef> product) { AddUnique(std::move(product)); });
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
    const QString wanted = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    for (const auto& entry : entries_) {
        if (QString::fromStdString(entry->DisplayName).compare(wanted, Qt::CaseInsensitive) == 0)
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
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return kCatalogueFileName;
    // A program named like a Windows one ("x.exe") has its catalogue beside
    // it under the same name with ".ini"; ours carry no extension, so the
    // catalogue has the fixed name in the program's folder.
    std::string text = program.string();
    if (const std::size_t exe = text.find(".exe"); exe != std::string::npos) {
        text.replace(exe, 4, ".ini");
        return text;
    }
    return program.parent_path() / kCatalogueFileName;
}

}  // namespace vn

#include "catalogue/CatalogueFileReader.h"

#include <QImage>
#include <array>
#include <string>
#include <string_view>

#include "catalogue/HexBitmap.h"
#include "catalogue/ProductIcon.h"
#include "platform/Registry.h"

namespace vn {
namespace {

enum class Key { DisplayName, ServiceName, ServicePath, ColorBitmap, MaskBitmap };

// In the order in which a line is tested; the first key the line contains
// anywhere applies.
constexpr std::array<std::pair<std::string_view, Key>, 5> kKeys{{
    {"DisplayName=", Key::DisplayName},
    {"ServiceName=", Key::ServiceName},
    {"ServicePath=", Key::ServicePath},
    {"ColorBitmap=", Key::ColorBitmap},
    {"MaskBitmap=", Key::MaskBitmap},
}};

std::string_view Trim(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

// One entry being read.
struct PendingEntry {
    std::unique_ptr<ProductDef> product = std::make_unique<ProductDef>();
    QImage colour;
    QImage mask;

    // False when the line holds none of the keys.
    bool Take(std::string_view line) {
        for (const auto& [key, which] : kKeys) {
            if (line.find(key) == std::string_view::npos)
                continue;
            // The value is the line without as many characters as the key
            // has, wherever in the line the key stood.
            const std::string_view value = line.substr(key.size());
            switch (which) {
            case Key::DisplayName: product->DisplayName = value; break;
            case Key::ServiceName: product->ServiceName = value; break;
            case Key::ServicePath: product->ServicePath = value; break;
            case Key::ColorBitmap: colour = DecodeHexBitmap(value); break;
            case Key::MaskBitmap: mask = DecodeHexBitmap(value); break;
            }
            return true;
        }
        return false;
    }

    std::unique_ptr<ProductDef> Finish() {
        if (!colour.isNull() && !mask.isNull())
            product->Icon = MakeProductIcon(colour, mask);
        return std::move(product);
    }
};

}  // namespace

void ReadCatalogueFile(std::istream& in, const std::function<void(std::unique_ptr<ProductDef>)>& accept,
                       const std::function<void(int line, const std::string& name)>& refuse) {
    std::unique_ptr<PendingEntry> entry;
    int entryLine = 0;
    std::string raw;
    bool more = true;
    for (int lineNumber = 1; more; ++lineNumber) {
        more = static_cast<bool>(std::getline(in, raw));
        // The end of the file reads as an empty line, ending an open entry.
        const std::string_view line = more ? Trim(raw) : std::string_view();
        if (entry) {
            if (!entry->Take(line)) {
                std::unique_ptr<ProductDef> product = entry->Finish();
                if (IsStorableKeyName(product->DisplayName))
                    accept(std::move(product));
                else if (refuse)
                    refuse(entryLine, product->DisplayName);
                entry.reset();
            }
        } else if (line.find('[') != std::string_view::npos) {
            entry = std::make_unique<PendingEntry>();
            entryLine = lineNumber;
        }
    }
}

}  // namespace vn

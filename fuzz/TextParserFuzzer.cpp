// libFuzzer target: the text that reaches us from files and servers other
// than the RPC responses, and the values packed in registry hives' keys. The
// first byte picks a parser; the rest is its input. Besides crashes, the name
// rules are checked for consistency: the tree and the registry must agree on
// which names are one.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/CatalogueFileReader.h"
#include "catalogue/HexBitmap.h"
#include "catalogue/ProductIcon.h"
#include "cli/InventoryPath.h"
#include "cli/JsonWriter.h"
#include "cli/TerminalText.h"
#include "inventory/ComputerListFile.h"
#include "platform/NameFolding.h"
#include "platform/local/hive/PackedValues.h"
#include "update/UrlParts.h"

namespace {

using namespace vn;

void Check(bool holds) {
    if (!holds)
        __builtin_trap();
}

void ComputerList(std::string_view text, bool csv) {
    std::istringstream in{std::string(text)};
    std::vector<std::string> skipped;
    ParseComputerList(in, csv, &skipped);
}

void Catalogue(std::string_view text) {
    std::istringstream in{std::string(text)};
    ReadCatalogueFile(
        in, [](std::unique_ptr<ProductDef>) {}, [](int, const std::string&) {});
}

void Bitmaps(std::string_view text) {
    const std::size_t half = text.size() / 2;
    const QImage colour = DecodeHexBitmap(text.substr(0, half));
    const QImage mask = DecodeHexBitmap(text.substr(half));
    ComposeProductIconImage(colour, mask);
}

void Escaping(std::string_view text) {
    const std::string json = cli::JsonQuoted(text);
    Check(json.size() >= 2 && json.front() == '"' && json.back() == '"' && json.find('\n') == std::string::npos);
    // No escape, no carriage return, no C1 control sequence introducer.
    const std::string terminal = cli::TerminalText(text);
    Check(terminal.find_first_of("\x1B\r") == std::string::npos && terminal.find("\xC2\x9B") == std::string::npos);
}

void Paths(std::string_view text) {
    cli::InventoryPath path;
    if (cli::ParseInventoryPath(text, path)) {
        for (const std::string& name : path.names)
            Check(!name.empty() && name.find('/') == std::string::npos);
    }
    cli::ParseFolderPath(text, path);
}

// Two names split at the first NUL: equal for the tree exactly when equal for
// the registry, and ordered consistently.
void NameFolding(std::string_view text) {
    const std::size_t split = text.find('\0');
    const std::string_view a = text.substr(0, split);
    const std::string_view b = split == std::string_view::npos ? std::string_view() : text.substr(split + 1);
    const bool equal = FoldRegistryName(a) == FoldRegistryName(b);
    Check(NamesEqualFolded(a, b) == equal);
    Check((CompareFoldedNames(a, b) == 0) == equal);
    Check(CompareFoldedNames(a, b) == -CompareFoldedNames(b, a));
    Check(NamesEqualFolded(a, a) && CompareFoldedNames(a, a) == 0);
}

// A key's values as a hive file holds them: what reads packs again into a
// blob that reads as the same values, once packed.
void PackedRegistryValues(std::string_view text) {
    std::vector<PackedValue> values;
    if (!UnpackValues(text, values))
        return;
    std::vector<std::string> folds;
    folds.reserve(values.size());
    for (const PackedValue& value : values)
        folds.push_back(FoldRegistryName(value.name));
    ValuePacker packer;
    for (std::size_t i = 0; i < values.size(); ++i)
        packer.Add(values[i].name, folds[i], values[i].type, values[i].data);
    std::string packed;
    packer.Pack(packed);
    std::string again;
    Check(packer.PackOver(packed, again) && again == packed);
}

void Url(std::string_view text) {
    UrlParts parts;
    if (UrlParts::Split(text, parts))
        Check(!parts.path.empty() && parts.path.front() == '/');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 9) {
    case 0: ComputerList(text, false); break;
    case 1: ComputerList(text, true); break;
    case 2: Catalogue(text); break;
    case 3: Bitmaps(text); break;
    case 4: Escaping(text); break;
    case 5: Paths(text); break;
    case 6: NameFolding(text); break;
    case 7: PackedRegistryValues(text); break;
    default: Url(text); break;
    }
    return 0;
}

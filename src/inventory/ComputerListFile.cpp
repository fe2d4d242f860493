#include "inventory/ComputerListFile.h"

#include <fstream>
#include <optional>
#include <unordered_set>

#include "catalogue/ProductDef.h"
#include "inventory/BoundedLineReader.h"
#include "inventory/InventoryModel.h"
#include "inventory/InventoryQueries.h"
#include "inventory/NameCompare.h"
#include "inventory/NameRules.h"
#include "inventory/TextFileWriter.h"

namespace vn {
namespace {

// Longest name kept: no host name or registry key name is longer.
constexpr std::size_t kMaxNameLength = 255;
// Bytes kept of one line: room for any name and a long CSV header.
constexpr std::size_t kLineLimit = std::size_t{64} * 1024;

std::string ListLine(const ComputerRecord& computer) {
    std::string line = computer.Name;
    for (const ProductDef* product : computer.InstalledProducts)
        line += ", " + product->DisplayName;
    return line + "\r\n";
}

// The computer name of one line, if it has a usable one. A name that no
// computer can have (not even a text: invalid UTF-8) is left in impossible.
std::optional<std::string> NameOfLine(std::string_view line, bool truncated, std::string& impossible) {
    impossible.clear();
    while (!line.empty() && IsLineSpace(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && IsLineSpace(line.back()))
        line.remove_suffix(1);
    const std::size_t cut = line.find_first_of(";, ");
    if (cut == std::string_view::npos && truncated)
        return std::nullopt;  // the name runs on past what was kept: far too long
    const std::string_view name = line.substr(0, cut);
    if (name.empty() || name.size() > kMaxNameLength)
        return std::nullopt;
    if (!IsValidUtf8(name) || IsImpossibleComputerName(name)) {
        impossible = name;
        return std::nullopt;
    }
    return std::string(name);
}

std::string ImpossibleNameMessage(std::size_t lineNumber, const std::string& name) {
    return "line " + std::to_string(lineNumber) + ": \"" + name +
           "\" is skipped: no computer name can hold / \\ : * ? \" < > | or control characters";
}

void StripByteOrderMark(std::string& line) {
    if (line.rfind("\xEF\xBB\xBF", 0) == 0)
        line.erase(0, 3);
}

}  // namespace

bool ExportComputerList(InventoryModel& model, const std::filesystem::path& path) {
    std::vector<ComputerRecord*> computers;
    CollectComputers(model, nullptr, computers);
    std::string text;
    for (const ComputerRecord* computer : computers)
        text += ListLine(*computer);
    std::string errorText;
    if (WriteTextFile(path, text, errorText))
        return true;
    model.SetLastErrorText(errorText);
    return false;
}

bool IsCsvFileName(const std::filesystem::path& path) {
    const std::string name = path.filename().string();
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && name.compare(dot + 1, std::string::npos, "csv") == 0;
}

std::vector<std::string> ParseComputerList(std::istream& in, bool hasCsvHeaderRule, std::vector<std::string>* skipped) {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    BoundedLineReader reader(in, kLineLimit);
    std::string line;
    bool truncated = false;
    for (std::size_t number = 1; reader.Next(line, truncated); ++number) {
        if (number == 1) {
            StripByteOrderMark(line);
            if (hasCsvHeaderRule && line.find("Name") != std::string::npos)
                continue;
        }
        std::string impossible;
        std::optional<std::string> name = NameOfLine(line, truncated, impossible);
        if (!impossible.empty() && skipped != nullptr)
            skipped->push_back(ImpossibleNameMessage(number, impossible));
        if (name && seen.insert(NameKey(*name)).second)
            names.push_back(std::move(*name));
    }
    return names;
}

bool ReadComputerList(const std::filesystem::path& path, std::vector<std::string>& names,
                      std::vector<std::string>* skipped) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    names = ParseComputerList(in, IsCsvFileName(path), skipped);
    return true;
}

}  // namespace vn

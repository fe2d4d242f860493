#pragma once

#include <filesystem>
#include <istream>
#include <string>
#include <vector>

namespace vn {

class InventoryModel;

// Writes every computer of the tree, in tree order, one line each: the name,
// then ", " and the name of each installed product; lines end with "\r\n".
// On failure the model's LastErrorText holds the reason and the result is false.
bool ExportComputerList(InventoryModel& model, const std::filesystem::path& path);

// The computer names of a list file in file order, each once (ignoring case).
// A name is the trimmed line up to its first semicolon, comma or blank. For a
// file named *.csv a first line containing "Name" is a header. Lines that give
// no usable name (empty, longer than a host name can be, not UTF-8) are
// skipped. So are names no Windows computer can have (holding / \ : * ? " < >
// | or a control character, as the add dialog refuses them); for each of
// those, skipped (when given) receives a message naming the line. False when
// the file cannot be opened.
bool ReadComputerList(const std::filesystem::path& path, std::vector<std::string>& names,
                      std::vector<std::string>* skipped = nullptr);

// The same from an open stream.
std::vector<std::string> ParseComputerList(std::istream& in, bool hasCsvHeaderRule,
                                           std::vector<std::string>* skipped = nullptr);

// Whether a list file's name asks for the header rule: its extension is exactly "csv".
bool IsCsvFileName(const std::filesystem::path& path);

}  // namespace vn

#include "deploy/TargetNameFile.h"

#include <fstream>

#include "inventory/BoundedLineReader.h"

namespace vn {

bool ReadTargetNames(const std::string& path, std::vector<std::string>& names) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    names.clear();
    BoundedLineReader reader(file, kTargetLineLimit);
    std::string line;
    bool truncated = false;
    while (reader.Next(line, truncated)) {
        while (!line.empty() && IsLineSpace(line.back()))
            line.pop_back();
        if (!line.empty())
            names.push_back(line);
    }
    return true;
}

}  // namespace vn

#include "deploy/TargetNameFile.h"

#include <fstream>

namespace vn {

bool ReadTargetNames(const std::string& path, std::vector<std::string>& names) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    names.clear();
    constexpr const char* kWhiteSpace = " \t\r\n\v\f";
    for (std::string line; std::getline(file, line);) {
        const std::size_t first = line.find_first_not_of(kWhiteSpace);
        if (first == std::string::npos)
            continue;
        names.push_back(line.substr(first, line.find_last_not_of(kWhiteSpace) - first + 1));
    }
    return true;
}

}  // namespace vn

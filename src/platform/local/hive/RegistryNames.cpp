#include "platform/local/hive/RegistryNames.h"

#include "platform/local/LocalStatusCodes.h"

namespace vn {
namespace {

constexpr char kSeparator = '\\';

}  // namespace

Status SplitKeyPath(std::string_view path, std::vector<std::string>& components) {
    components.clear();
    if (!path.empty() && path.front() == kSeparator)
        return ERROR_BAD_PATHNAME;
    std::size_t start = 0;
    while (start < path.size()) {
        std::size_t end = path.find(kSeparator, start);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > start)
            components.emplace_back(path.substr(start, end - start));
        start = end + 1;
    }
    return ERROR_SUCCESS;
}

const std::string& FoldedNames::Of(const std::string& name) {
    auto known = folds_.find(name);
    if (known == folds_.end())
        known = folds_.emplace(name, FoldRegistryName(name)).first;
    return known->second;
}

}  // namespace vn

#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/NameFolding.h"  // FoldRegistryName: how key and value names compare
#include "platform/Status.h"

namespace vn {

// Splits a relative key path at its "\" separators as Windows parses it:
// runs of separators count as one and trailing ones are ignored, so
// "Services\" names "Services"; a leading "\" is refused with
// ERROR_BAD_PATHNAME. An empty path gives no components (the key itself).
[[nodiscard]] Status SplitKeyPath(std::string_view path, std::vector<std::string>& components);

// Folded names, each folded once: the keys of a tree have values of the
// same few names.
class FoldedNames {
public:
    const std::string& Of(const std::string& name);

private:
    std::unordered_map<std::string, std::string> folds_;
};

// Whether two of the folded names are equal: siblings or values that one
// key would hold as one.
template <typename Text>
bool HasDuplicateFolds(const std::vector<Text>& folds) {
    if (folds.size() < 2)
        return false;
    // A few names (most levels of a tree) are compared pair by pair: no
    // copy to sort.
    constexpr std::size_t kFewNames = 16;
    if (folds.size() <= kFewNames) {
        for (std::size_t i = 1; i < folds.size(); ++i) {
            for (std::size_t j = 0; j < i; ++j) {
                if (folds[i] == folds[j])
                    return true;
            }
        }
        return false;
    }
    std::vector<std::string_view> sorted(folds.begin(), folds.end());
    std::sort(sorted.begin(), sorted.end());
    return std::adjacent_find(sorted.begin(), sorted.end()) != sorted.end();
}

}  // namespace vn

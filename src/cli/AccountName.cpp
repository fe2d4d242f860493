#include "cli/AccountName.h"

namespace vn::cli {

AccountName SplitAccountName(std::string_view text) {
    const std::size_t separator = text.find_first_of("\\/");
    if (separator == std::string_view::npos)
        return AccountName{{}, std::string(text)};
    return AccountName{std::string(text.substr(0, separator)), std::string(text.substr(separator + 1))};
}

}  // namespace vn::cli

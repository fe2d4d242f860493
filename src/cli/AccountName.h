#pragma once

#include <string>
#include <string_view>

namespace vn::cli {

// A user as --user gives it: DOMAIN\USER, DOMAIN/USER or USER.
struct AccountName {
    std::string domain;  // empty when none was given
    std::string user;
};

AccountName SplitAccountName(std::string_view text);

}  // namespace vn::cli

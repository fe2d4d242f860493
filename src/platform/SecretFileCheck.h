#pragma once

#include <string>

namespace vn {

// Warns as ssh does about a file of secrets (such as a password) that users
// other than its owner may read or write: the warning's text, or empty when
// the file is private to its owner or cannot be examined (a missing file).
std::string UnprotectedSecretFileWarning(const std::string& path);

}  // namespace vn

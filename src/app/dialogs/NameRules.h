#pragma once

#include <string>
#include <string_view>

namespace vn {

// The characters a computer or folder name typed by the user may not hold,
// in the order the refusal lists them (the space first).
inline constexpr std::string_view kForbiddenNameCharacters = " ~`!@#$%^&*()=+[]{}\\|;:'\",<>/?";

// What a typed name is checked as: the noun its refusals use.
enum class NameKind { Computer, Folder };

// The refusal for a name exactly as typed (no trimming), or an empty text
// when the name is acceptable.
std::string NameRefusal(NameKind kind, std::string_view name);

}  // namespace vn

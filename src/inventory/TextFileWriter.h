#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vn {

// The system's text for a file error (an errno value), in the words the rest
// of the program uses, without a trailing line break.
std::string FileErrorText(int error);

// Makes text the whole content of the file at path, creating or emptying it.
// False with the reason (FileErrorText) in errorText when the file cannot be
// created, written or closed.
[[nodiscard]] bool WriteTextFile(const std::filesystem::path& path, std::string_view text, std::string& errorText);

}  // namespace vn

#pragma once

#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace vn {

inline constexpr std::string_view kToolFileName = "Vantor.exe";
inline constexpr std::string_view kToolProductName = "Vantor";
inline constexpr std::string_view kToolServiceKey = "System\\CurrentControlSet\\Services\\Vantor";
inline constexpr std::string_view kToolImagePathValue = "ImagePath";
inline constexpr std::string_view kToolSettingsFile = "Vantor.ini";

// The directory of the Vantor host installed on this computer, from the
// ImagePath of its service in this computer's machine hive, ending in its
// separator ("\" or "/", whichever comes last); empty when it cannot be read.
std::string ReadToolDirectory(Registry& registry);

// The directory part of an ImagePath value: a leading double quote removed,
// then cut after the last "\" or "/" that is not the first character; the
// whole value when there is none.
std::string ToolDirectoryOfImagePath(std::string_view imagePath);

// Records program as the host's service program (ImagePath, REG_SZ) in this
// computer's machine hive.
[[nodiscard]] Status RecordToolProgram(Registry& registry, std::string_view program);

}  // namespace vn

#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "core/MessageBoxService.h"

namespace vn {

// The policy template and the policy guide, shipped with the program in one folder.
inline constexpr std::string_view kAdmTemplateName = "Vantor.adm";
inline constexpr std::string_view kAdmxTemplateName = "Vantor.admx";
inline constexpr std::string_view kAdmlTemplatePath = "en-US/Vantor.adml";
inline constexpr std::string_view kPolicyGuideName = "VtrNetwarden_GroupPolicies.pdf";

// The folder of the shipped policy files (beside the program, else the
// installed data folder), with its trailing separator.
std::string PolicyFilesDirectory();

// Save ADM...: copies Vantor.adm from policyDirectory into destination,
// replacing one that is there, and beside it Vantor.admx with
// en-US/Vantor.adml, the same policies for current Windows domains. Tells the
// user how it went; a missing template is told, and the copy tried all the
// same. True when every file was saved.
bool SavePolicyTemplates(const std::string& policyDirectory, const std::string& destination,
                         MessageBoxService& messages);

// What the user is told when the desktop could not open a file: by the
// value the opening gave (2 not found, 31 no application, ...); empty for a
// value without a text.
std::string LaunchFailureText(int value, std::string_view name);

}  // namespace vn

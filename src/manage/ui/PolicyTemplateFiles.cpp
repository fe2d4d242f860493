#include "manage/ui/PolicyTemplateFiles.h"

#include <fstream>
#include <system_error>

#include "platform/ShippedFiles.h"

namespace vn {
namespace {

namespace fs = std::filesystem;

// The copy lands whole or not at all: written beside the target, then
// renamed over it.
bool CopyReplacing(const fs::path& from, const fs::path& to) {
    std::error_code error;
    fs::create_directories(to.parent_path(), error);
    const fs::path partial = to.string() + ".partial";
    if (!fs::copy_file(from, partial, fs::copy_options::overwrite_existing, error)) {
        fs::remove(partial, error);
        return false;
    }
    fs::rename(partial, to, error);
    if (error) {
        fs::remove(partial, error);
        return false;
    }
    return true;
}

}  // namespace

std::string PolicyFilesDirectory() {
    std::string directory = FindShippedFile(kAdmTemplateName, ShippedKind::Data).parent_path().string();
    if (directory.empty() || directory.back() != '/')
        directory += '/';
    return directory;
}

bool SavePolicyTemplates(const std::string& policyDirectory, const std::string& destination,
                         MessageBoxService& messages) {
    const fs::path source = fs::path(policyDirectory) / kAdmTemplateName;
    if (!std::ifstream(source))
        messages.Show("Error", "Could not find Vantor.adm in " + policyDirectory + " directory.", MessageIcon::Warning,
                      MessageButtons::Ok);
    bool saved = CopyReplacing(source, fs::path(destination) / kAdmTemplateName);
    for (std::string_view companion : {kAdmxTemplateName, kAdmlTemplatePath})
        saved = saved && CopyReplacing(fs::path(policyDirectory) / companion, fs::path(destination) / companion);
    if (saved)
        messages.Show("Info", "Vantor.adm has successfully been saved in your " + destination + " directory.",
                      MessageIcon::Information, MessageButtons::Ok);
    else
        messages.Show("Error", "Could not save Vantor.adm to " + destination + " directory.", MessageIcon::Warning,
                      MessageButtons::Ok);
    return saved;
}

std::string LaunchFailureText(int value, std::string_view name) {
    switch (value) {
    case 0: return "The operating system is out of memory or resources.";
    case 2: return "The " + std::string(name) + " was not found.";
    case 3: return "The specified path was not found.";
    case 5: return "The operating system denied access to " + std::string(name);
    case 8: return "There was not enough memory to complete the operation.";
    case 11: return "The .exe file is invalid (non-Microsoft Win32\u00AE .exe or error in .exe image).";
    case 26: return "A sharing violation occurred.";
    case 27: return "The file name association is incomplete or invalid.";
    case 28: return "The DDE transaction could not be completed because the request timed out.";
    case 29: return "The DDE transaction failed.";
    case 31:
        return "There is no application associated with the given file name extension. This error will also be "
               "returned if you attempt to print a file that is not printable.";
    case 32: return "The specified dynamic-link library (DLL) was not found.";
    default: return {};
    }
}

}  // namespace vn

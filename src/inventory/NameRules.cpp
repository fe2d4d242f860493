#include "inventory/NameRules.h"

#include "platform/Registry.h"

namespace vn {
namespace {

// "~ ` ! ... / and ?": every forbidden character but the space, each followed
// by a space, with "and " before the last one.
std::string ForbiddenCharacterList() {
    std::string list;
    const std::string_view shown = kForbiddenNameCharacters.substr(1);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (i + 1 == shown.size()) {
            list += "and ";
            list += shown[i];
        } else {
            list += shown[i];
            list += ' ';
        }
    }
    return list;
}

}  // namespace

std::string NameRefusal(NameKind kind, std::string_view name) {
    const bool computer = kind == NameKind::Computer;
    if (name.empty()) {
        return computer ? "The \"Computer\" field is empty. Please enter a valid computer name."
                        : "The folder name is empty. Please enter a valid folder name.";
    }
    if (name.find_first_of(kForbiddenNameCharacters) == std::string_view::npos) {
        if (IsStorableKeyName(name))
            return {};
        return computer ? "The computer name is longer than 255 bytes. Please enter a shorter computer name."
                        : "The folder name is longer than 255 bytes. Please enter a shorter folder name.";
    }
    std::string text = computer ? "The computer name \"" : "The folder name \"";
    text += name;
    text += "\" contains characters which are not allowed. Characters which are not allowed include ";
    text += ForbiddenCharacterList();
    return text;
}

std::string StoredNameProblem(std::string_view name) {
    if (IsStorableKeyName(name))
        return {};
    if (name.empty())
        return "an empty name cannot be stored";
    if (name.find('\\') != std::string_view::npos)
        return "a name holding a backslash cannot be stored";
    return "a name longer than 255 bytes cannot be stored";
}

std::string ScanFolderNameRefusal(std::string_view name) {
    return IsStorableKeyName(name) ? std::string() : NameRefusal(NameKind::Folder, name);
}

}  // namespace vn

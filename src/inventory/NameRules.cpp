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

// Characters no Windows computer name can hold (besides control characters).
constexpr std::string_view kImpossibleNameCharacters = "/\\:*?\"<>|";
constexpr std::size_t kMaxFoundNameLength = 255;

// What no found name of that kind can be or hold, or null when the name is
// none of these.
const char* FoundNameFault(NameKind kind, std::string_view name) {
    if (name.empty())
        return "be empty";
    if (name.size() > kMaxFoundNameLength)
        return "be longer than 255 bytes";
    if (!IsValidUtf8(name))
        return "be other than UTF-8 text";
    if (IsImpossibleComputerName(name))
        return "hold / \\ : * ? \" < > | or control characters";
    if (name.find_first_not_of('.') == std::string_view::npos)
        return "be made of dots only";
    if (kind == NameKind::Computer && name.find(' ') != std::string_view::npos)
        return "hold a blank";
    return nullptr;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The sequence length from the lead byte; 0xC0, 0xC1 and above 0xF4 never lead.
        const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                                   : lead >= 0xE0 && lead <= 0xEF ? 3
                                   : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                                  : 0;
        if (length == 0)
            return false;
        char32_t code = lead & (0x7F >> length);
        if (i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

bool IsImpossibleComputerName(std::string_view name) {
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || kImpossibleNameCharacters.find(c) != std::string_view::npos)
            return true;
    }
    return false;
}

std::string FoundNameProblem(NameKind kind, std::string_view name) {
    const char* fault = FoundNameFault(kind, name);
    if (fault == nullptr)
        return {};
    std::string text = "\"";
    text += name;
    text += "\" is skipped: no ";
    text += kind == NameKind::Computer ? "computer" : "folder";
    text += " name can ";
    text += fault;
    return text;
}

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

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
// when the name is acceptable. A name that could not be stored (see
// StoredNameProblem) is always refused.
std::string NameRefusal(NameKind kind, std::string_view name);

// Why a node of this name could not be stored, the tree being kept as one
// registry key per node: empty, holding a backslash or longer than 255 bytes.
// An empty text when it can be.
std::string StoredNameProblem(std::string_view name);

// Whether text is valid UTF-8 (no overlong forms, surrogates or code points
// past U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Whether the name holds a character no Windows computer name can: / \ : * ?
// " < > | or a control character. A node of such a name could never be
// examined, nor reached by its path to be removed or rescanned.
bool IsImpossibleComputerName(std::string_view name);

// Why a node of that kind found on the network (the directory or the browse
// list) is not filed, as a message naming it; empty when it can be. Found
// names obey what list files ask of theirs (1 to 255 bytes of UTF-8, none of
// the characters of IsImpossibleComputerName) and are not dots only; a
// computer's holds no blank either (a list file cuts its names there), while
// a folder's may ("Microsoft Windows Network").
std::string FoundNameProblem(NameKind kind, std::string_view name);

// The check of a network scan's name, which names its top folder as typed:
// the folder refusal of NameRefusal for a name that could not be stored,
// else an empty text. Blanks and the other characters Add Folder refuses stay
// allowed, since provider names hold them ("Entire Network").
std::string ScanFolderNameRefusal(std::string_view name);

}  // namespace vn

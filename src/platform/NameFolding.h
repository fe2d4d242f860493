#pragma once

#include <string>
#include <string_view>

namespace vn {

// The one rule by which names compare without regard to letter case: the
// registry's key and value names, and the inventory's folder, computer and
// product names (which the registry stores as key names). A name is read as
// UTF-8 and each code point upper-cased by Unicode's simple mapping of the
// Basic Multilingual Plane, as the registry's own table does. Bytes that are
// not valid UTF-8 stand for themselves, each as a code point of its own in
// the U+DC80..U+DCFF range, so every name still has a stable form.

// The folded form: the upper-cased name as big-endian UTF-16, so that
// comparing two forms byte by byte orders names as Windows enumerates
// sub-keys. Two names are equal ignoring case exactly when their folded
// forms are equal.
std::string FoldRegistryName(std::string_view name);

// Whether the folded forms of a and b are equal (without building them).
bool NamesEqualFolded(std::string_view a, std::string_view b);

// Negative, zero or positive as a sorts before, with or after b in the
// order of lower-cased names: code point by code point, each the lower case
// of its folded form, then by the folded forms. Zero exactly when
// NamesEqualFolded; for names whose letters round-trip through upper case
// it is the byte order of the lower-cased UTF-8 names.
int CompareFoldedNames(std::string_view a, std::string_view b);

}  // namespace vn

#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace vn {

// The files the programs come with, found by one rule: beside the running
// program first (the build tree, or a copy in one folder), then in the folder
// an installation gives that kind of file, taken relative to the program's own
// folder, so that a tree installed under any prefix, or unpacked under a
// DESTDIR, finds its own files.
enum class ShippedKind {
    Data,    // catalogue, policy templates and guide: ../share/vantor-netwarden
    Helper,  // helper programs: ../libexec/vantor-netwarden
};

// The running program's own path (empty when it cannot be told).
std::filesystem::path RunningProgram();

// The folders searched for a file of that kind, in order.
std::vector<std::filesystem::path> ShippedFolders(const std::filesystem::path& program, ShippedKind kind);

// The first of those folders that holds relative, joined with it; when none
// does, the path beside the program, so that what is missing is reported
// where a build puts it.
std::filesystem::path FindShippedFile(const std::filesystem::path& program, std::string_view relative,
                                      ShippedKind kind);
// The same for the running program.
std::filesystem::path FindShippedFile(std::string_view relative, ShippedKind kind);

}  // namespace vn

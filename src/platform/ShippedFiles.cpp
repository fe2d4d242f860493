#include "platform/ShippedFiles.h"

#include <system_error>

namespace vn {

std::filesystem::path RunningProgram() {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program;
}

std::vector<std::filesystem::path> ShippedFolders(const std::filesystem::path& program, ShippedKind kind) {
    // The installed folders come from the install rules (cmake/VnInstallLayout.cmake).
    const std::filesystem::path folder = program.empty() ? std::filesystem::path(".") : program.parent_path();
    const char* installed = kind == ShippedKind::Helper ? VN_HELPER_DIR_FROM_BIN : VN_DATA_DIR_FROM_BIN;
    return {folder, (folder / installed).lexically_normal()};
}

std::filesystem::path FindShippedFile(const std::filesystem::path& program, std::string_view relative,
                                      ShippedKind kind) {
    const std::vector<std::filesystem::path> folders = ShippedFolders(program, kind);
    for (const std::filesystem::path& folder : folders) {
        std::error_code error;
        if (std::filesystem::exists(folder / relative, error))
            return folder / relative;
    }
    return folders.front() / relative;
}

std::filesystem::path FindShippedFile(std::string_view relative, ShippedKind kind) {
    return FindShippedFile(RunningProgram(), relative, kind);
}

}  // namespace vn

#include "inventory/TextFileWriter.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include "platform/SystemErrorText.h"

namespace vn {

std::string FileErrorText(int error) {
    std::string text;
    switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: text = SystemErrorText(ERROR_ACCESS_DENIED); break;
    case ENOENT:
    case ENOTDIR: text = SystemErrorText(ERROR_PATH_NOT_FOUND); break;
    default: text = std::generic_category().message(error); break;
    }
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

bool WriteTextFile(const std::filesystem::path& path, std::string_view text, std::string& errorText) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (file == nullptr) {
        errorText = FileErrorText(errno);
        return false;
    }
    if (std::fwrite(text.data(), 1, text.size(), file.get()) != text.size()) {
        errorText = FileErrorText(errno);
        return false;
    }
    // Buffered data meets a full disk only here.
    if (std::fclose(file.release()) != 0) {
        errorText = FileErrorText(errno);
        return false;
    }
    return true;
}

}  // namespace vn

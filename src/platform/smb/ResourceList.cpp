#include "platform/smb/ResourceList.h"

namespace vn::smb {

namespace {
constexpr std::size_t kRecordBytes = 48;  // NETRESOURCE on a 64-bit system
}  // namespace

std::size_t ResourceList::BufferBytes(const NetResource& r) {
    auto text = [](const std::string& s) { return s.empty() ? 0 : s.size() + 1; };
    return kRecordBytes + text(r.localName) + text(r.remoteName) + text(r.comment) + text(r.provider);
}

Status ResourceList::Next(std::uint32_t* count, std::vector<NetResource>& resources, std::uint32_t bufferSize) {
    if (!count)
        return ERROR_INVALID_PARAMETER;
    if (next_ >= resources_.size()) {
        *count = 0;
        return ERROR_NO_MORE_ITEMS;
    }
    std::uint32_t given = 0;
    std::size_t used = 0;
    while (next_ < resources_.size() && given < *count) {
        const std::size_t bytes = BufferBytes(resources_[next_]);
        if (used + bytes > bufferSize)
            break;
        used += bytes;
        resources.push_back(resources_[next_++]);
        ++given;
    }
    *count = given;
    return given == 0 ? ERROR_MORE_DATA : ERROR_SUCCESS;
}

}  // namespace vn::smb

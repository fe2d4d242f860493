#pragma once

#include <cstddef>
#include <vector>

#include "platform/NetworkBrowser.h"

namespace vn::smb {

// An enumeration over descriptors read in advance, handed out in batches the
// way WNetEnumResource fills its buffer.
class ResourceList : public ResourceEnumeration {
public:
    explicit ResourceList(std::vector<NetResource> resources) : resources_(std::move(resources)) {}

    [[nodiscard]] Status Next(std::uint32_t* count, std::vector<NetResource>& resources,
                              std::uint32_t bufferSize) override;

    // Bytes one descriptor takes in a caller's buffer: the record and its
    // strings with their terminating zeros.
    static std::size_t BufferBytes(const NetResource& resource);

private:
    std::vector<NetResource> resources_;
    std::size_t next_ = 0;
};

}  // namespace vn::smb

#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Network.h"
#include "platform/Status.h"

namespace vn {

inline constexpr std::uint32_t RESOURCE_CONNECTED = 1;
inline constexpr std::uint32_t RESOURCE_GLOBALNET = 2;
inline constexpr std::uint32_t RESOURCETYPE_ANY = 0;
inline constexpr std::uint32_t RESOURCETYPE_DISK = 1;
inline constexpr std::uint32_t RESOURCETYPE_PRINT = 2;
inline constexpr std::uint32_t RESOURCEDISPLAYTYPE_GENERIC = 0;
inline constexpr std::uint32_t RESOURCEDISPLAYTYPE_DOMAIN = 1;
inline constexpr std::uint32_t RESOURCEDISPLAYTYPE_SERVER = 2;
inline constexpr std::uint32_t RESOURCEDISPLAYTYPE_SHARE = 3;
inline constexpr std::uint32_t RESOURCEDISPLAYTYPE_NETWORK = 6;
inline constexpr std::uint32_t RESOURCEUSAGE_CONNECTABLE = 0x1;
inline constexpr std::uint32_t RESOURCEUSAGE_CONTAINER = 0x2;
inline constexpr std::uint32_t RESOURCEUSAGE_RESERVED = 0x80000000;

// NETRESOURCE.
struct NetResource {
    std::uint32_t dwScope = 0;
    std::uint32_t dwType = 0;
    std::uint32_t dwDisplayType = 0;
    std::uint32_t dwUsage = 0;
    std::string localName;
    std::string remoteName;
    std::string comment;
    std::string provider;
    // Where a provider that learns computers from their own answers met this
    // one (0: unknown), so that it can be reached when its name does not resolve.
    IPv4 address = 0;
};

// A descriptor of the whole network's scope, as the providers hand them out.
inline NetResource GlobalResource(std::uint32_t displayType, std::uint32_t usage, std::string remoteName,
                                  std::string comment, std::string provider) {
    NetResource r;
    r.dwScope = RESOURCE_GLOBALNET;
    r.dwType = RESOURCETYPE_ANY;
    r.dwDisplayType = displayType;
    r.dwUsage = usage;
    r.remoteName = std::move(remoteName);
    r.comment = std::move(comment);
    r.provider = std::move(provider);
    return r;
}

// An open enumeration; destroying it is WNetCloseEnum.
class ResourceEnumeration {
public:
    virtual ~ResourceEnumeration() = default;

    // WNetEnumResource: appends up to *count descriptors (0xFFFFFFFF: as many
    // as fit in bufferSize bytes) and stores how many it gave. 259 at the end.
    [[nodiscard]] virtual Status Next(std::uint32_t* count, std::vector<NetResource>& resources,
                                      std::uint32_t bufferSize) = 0;
};

class NetworkBrowser {
public:
    virtual ~NetworkBrowser() = default;

    // WNetOpenEnum: container null is the whole network.
    [[nodiscard]] virtual Status OpenEnum(std::uint32_t scope, std::uint32_t type, std::uint32_t usage,
                                          const NetResource* container,
                                          std::unique_ptr<ResourceEnumeration>& result) = 0;
};

}  // namespace vn

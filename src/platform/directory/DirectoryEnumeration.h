#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/NetworkBrowser.h"
#include "platform/directory/LdapSession.h"
#include "platform/smb/ResourceList.h"

namespace vn::directory {

inline constexpr const char* kDirectoryProviderName = "Active Directory";

// The descriptors of directory entries: units and containers as containers
// (their distinguished name in comment, to be opened in turn), enabled
// computer accounts as servers named by dNSHostName, else cn. Disabled
// accounts are left out.
std::vector<NetResource> DirectoryResources(const std::vector<DirectoryEntry>& entries);

// A one-level search of a directory container, read page by page as the
// caller takes the descriptors, so that a domain of any size streams. The
// session may be shared with the enumerations of the container's parents,
// on the same thread. Past maxEntries entries no further page is read, and
// the descriptors end with ERROR_NOT_ENOUGH_MEMORY after what was given.
class DirectoryEnumeration : public ResourceEnumeration {
public:
    DirectoryEnumeration(std::shared_ptr<LdapSession> session, std::string base, std::size_t maxEntries);

    // Reads the first page: a container that cannot be searched fails here.
    [[nodiscard]] Status Start();

    [[nodiscard]] Status Next(std::uint32_t* count, std::vector<NetResource>& resources,
                              std::uint32_t bufferSize) override;

private:
    [[nodiscard]] Status ReadPage();

    std::shared_ptr<LdapSession> session_;
    std::string base_;
    std::string cookie_;
    std::size_t entriesLeft_;
    bool capReached_ = false;
    smb::ResourceList page_{{}};
};

}  // namespace vn::directory

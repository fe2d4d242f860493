#include "platform/directory/DirectoryEnumeration.h"

#include <strings.h>
#include <algorithm>

#include "platform/directory/DirectoryNames.h"

namespace vn::directory {
namespace {

bool HasClass(const DirectoryEntry& entry, const char* objectClass) {
    return std::any_of(entry.objectClasses.begin(), entry.objectClasses.end(),
                       [objectClass](const std::string& c) { return strcasecmp(c.c_str(), objectClass) == 0; });
}

NetResource Resource(std::uint32_t displayType, std::string remoteName, std::string comment) {
    return GlobalResource(displayType, RESOURCEUSAGE_CONTAINER, std::move(remoteName), std::move(comment),
                          kDirectoryProviderName);
}

}  // namespace

std::vector<NetResource> DirectoryResources(const std::vector<DirectoryEntry>& entries) {
    std::vector<NetResource> out;
    for (const DirectoryEntry& entry : entries) {
        const std::string name = FirstRdnValue(entry.dn);
        if (name.empty())
            continue;
        if (HasClass(entry, "computer")) {
            if (!AccountDisabled(entry.userAccountControl))
                out.push_back(Resource(RESOURCEDISPLAYTYPE_SERVER, "\\\\" + ComputerServerName(entry.dnsHostName, name),
                                       entry.dn));
        } else {
            out.push_back(Resource(RESOURCEDISPLAYTYPE_GENERIC, name, entry.dn));
        }
    }
    return out;
}

DirectoryEnumeration::DirectoryEnumeration(std::shared_ptr<LdapSession> session, std::string base,
                                           std::size_t maxEntries)
    : session_(std::move(session)),
      base_(std::move(base)),
      entriesLeft_(maxEntries) {}

Status DirectoryEnumeration::Start() { return ReadPage(); }

Status DirectoryEnumeration::ReadPage() {
    std::vector<DirectoryEntry> entries;
    if (Status status = session_->SearchPage(base_, cookie_, entries); status != ERROR_SUCCESS) {
        cookie_.clear();
        return status;
    }
    // A directory that pages without end fills no tree: what came up to the
    // bound is given, then the listing ends. A last page that just reaches
    // it ends the listing as any last page does.
    if (entries.size() > entriesLeft_ || (entries.size() == entriesLeft_ && !cookie_.empty())) {
        entries.resize(entriesLeft_);
        capReached_ = true;
        cookie_.clear();
    }
    entriesLeft_ -= entries.size();
    page_ = smb::ResourceList(DirectoryResources(entries));
    return ERROR_SUCCESS;
}

Status DirectoryEnumeration::Next(std::uint32_t* count, std::vector<NetResource>& resources, std::uint32_t bufferSize) {
    if (!count)
        return ERROR_INVALID_PARAMETER;
    const std::uint32_t wanted = *count;
    for (;;) {
        *count = wanted;
        const Status status = page_.Next(count, resources, bufferSize);
        // A page can be all disabled accounts: read on until one gives something.
        if (status == ERROR_NO_MORE_ITEMS && capReached_)
            return ERROR_NOT_ENOUGH_MEMORY;
        if (status != ERROR_NO_MORE_ITEMS || cookie_.empty())
            return status;
        if (Status read = ReadPage(); read != ERROR_SUCCESS)
            return read;
    }
}

}  // namespace vn::directory

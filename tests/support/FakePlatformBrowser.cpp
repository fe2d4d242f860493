#include "support/FakePlatformBrowser.h"

#include <algorithm>

namespace vn::test {
namespace {

// A NETRESOURCE takes about this many bytes of an enumeration buffer, with
// its strings; WNetEnumResource fits as many as the buffer holds.
constexpr std::uint32_t kBytesPerResource = 128;

class FakeEnumeration final : public ResourceEnumeration {
public:
    FakeEnumeration(FakePlatformCore& core, const FakeBrowseNode& container, std::uint32_t usage)
        : core_(core),
          container_(container),
          usage_(usage) {
        ++core_.openHandles;
    }
    ~FakeEnumeration() override {
        --core_.openHandles;
        core_.Enter("WNetCloseEnum", {}, {container_.Resource().remoteName});
    }

    Status Next(std::uint32_t* count, std::vector<NetResource>& resources, std::uint32_t bufferSize) override {
        core_.Enter(
            "WNetEnumResource", {},
            {container_.Resource().remoteName, count ? std::to_string(*count) : "null", std::to_string(bufferSize)});
        if (!count)
            return ERROR_INVALID_PARAMETER;
        std::lock_guard lock(core_.mutex);
        std::uint32_t wanted = *count;
        if (wanted == 0xFFFFFFFF)
            wanted = std::max<std::uint32_t>(1, bufferSize / kBytesPerResource);
        if (container_.BatchSize() > 0)
            wanted = std::min(wanted, container_.BatchSize());
        std::uint32_t given = 0;
        const auto& children = container_.Children();
        while (given < wanted && next_ < children.size()) {
            if (container_.EnumStatus() != ERROR_SUCCESS && handedOut_ >= container_.EnumFailsAfter())
                break;
            const NetResource& resource = children[next_++]->Resource();
            if (usage_ != 0 && !(resource.dwUsage & usage_))
                continue;
            resources.push_back(resource);
            ++given;
            ++handedOut_;
        }
        *count = given;
        if (given > 0)
            return ERROR_SUCCESS;
        if (container_.EnumStatus() != ERROR_SUCCESS)
            return container_.EnumStatus();
        return ERROR_NO_MORE_ITEMS;
    }

private:
    FakePlatformCore& core_;
    const FakeBrowseNode& container_;
    const std::uint32_t usage_;
    std::size_t next_ = 0;
    std::size_t handedOut_ = 0;
};

NetResource Container(const std::string& name, std::uint32_t displayType, std::uint32_t usage) {
    NetResource resource;
    resource.dwScope = RESOURCE_GLOBALNET;
    resource.dwType = RESOURCETYPE_ANY;
    resource.dwDisplayType = displayType;
    resource.dwUsage = usage;
    resource.remoteName = name;
    return resource;
}

}  // namespace

FakeBrowseNode& FakeBrowseNode::Add(NetResource resource) {
    children_.push_back(std::make_unique<FakeBrowseNode>(std::move(resource)));
    return *children_.back();
}

FakeBrowseNode& FakeBrowseNode::AddProvider(const std::string& name) {
    NetResource resource = Container(name, RESOURCEDISPLAYTYPE_NETWORK, RESOURCEUSAGE_CONTAINER);
    resource.provider = name;
    return Add(std::move(resource));
}

FakeBrowseNode& FakeBrowseNode::AddDomain(const std::string& name) {
    NetResource resource = Container(name, RESOURCEDISPLAYTYPE_DOMAIN, RESOURCEUSAGE_CONTAINER);
    resource.provider = resource_.provider;
    return Add(std::move(resource));
}

FakeBrowseNode& FakeBrowseNode::AddServer(const std::string& name, const std::string& comment) {
    NetResource resource = Container("\\\\" + name, RESOURCEDISPLAYTYPE_SERVER, RESOURCEUSAGE_CONTAINER);
    resource.comment = comment;
    resource.provider = resource_.provider;
    return Add(std::move(resource));
}

FakeBrowseNode& FakeBrowseNode::AddShare(const std::string& name) {
    NetResource resource =
        Container(resource_.remoteName + "\\" + name, RESOURCEDISPLAYTYPE_SHARE, RESOURCEUSAGE_CONNECTABLE);
    resource.dwType = RESOURCETYPE_DISK;
    resource.provider = resource_.provider;
    return Add(std::move(resource));
}

const FakeBrowseNode* FakeBrowseNode::FindContainer(const std::string& name) const {
    if (SameName(resource_.remoteName, name))
        return this;
    for (const auto& child : children_) {
        if (const FakeBrowseNode* found = child->FindContainer(name))
            return found;
    }
    return nullptr;
}

FakeNetworkBrowser::FakeNetworkBrowser(FakePlatformCore& core) : core_(core), root_(NetResource{}) {}

Status FakeNetworkBrowser::OpenEnum(std::uint32_t scope, std::uint32_t type, std::uint32_t usage,
                                    const NetResource* container, std::unique_ptr<ResourceEnumeration>& result) {
    const std::string name = container ? container->remoteName : std::string();
    core_.Enter("WNetOpenEnum", {},
                {std::to_string(scope), std::to_string(type), std::to_string(usage), container ? name : "null"});
    std::lock_guard lock(core_.mutex);
    const FakeBrowseNode* node = container ? root_.FindContainer(name) : &root_;
    if (container && (name.empty() || (node && !node->OpensAs(container->dwDisplayType))))
        node = nullptr;
    if (!node)
        return ERROR_BAD_NET_NAME;
    if (node->OpenStatus() != ERROR_SUCCESS)
        return node->OpenStatus();
    result = std::make_unique<FakeEnumeration>(core_, *node, usage);
    return ERROR_SUCCESS;
}

}  // namespace vn::test

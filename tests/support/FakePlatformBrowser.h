#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/NetworkBrowser.h"
#include "support/FakePlatformCore.h"

namespace vn::test {

// One resource of the simulated network neighbourhood. Containers hold
// further resources; an enumeration of a container hands out its children
// batch at a time and can be made to fail when opened or while enumerating.
// The tree is set up before the code under test runs.
class FakeBrowseNode {
public:
    explicit FakeBrowseNode(NetResource resource) : resource_(std::move(resource)) {}

    FakeBrowseNode& Add(NetResource resource);
    FakeBrowseNode& AddProvider(const std::string& name);
    FakeBrowseNode& AddDomain(const std::string& name);
    FakeBrowseNode& AddServer(const std::string& name, const std::string& comment = {});
    FakeBrowseNode& AddShare(const std::string& name);

    FakeBrowseNode& FailOpen(Status status) {
        openStatus_ = status;
        return *this;
    }
    // The enumeration fails with status after handing out afterItems entries.
    FakeBrowseNode& FailEnum(Status status, std::size_t afterItems = 0) {
        enumStatus_ = status;
        enumFailsAfter_ = afterItems;
        return *this;
    }
    FakeBrowseNode& Batch(std::uint32_t size) {
        batch_ = size;
        return *this;
    }
    // Opens only for a descriptor of that display type (a provider's name
    // typed as a domain is not found); any other fails with 67.
    FakeBrowseNode& OpenOnlyAs(std::uint32_t displayType) {
        openOnlyAs_ = displayType;
        return *this;
    }

    const NetResource& Resource() const { return resource_; }
    const std::vector<std::unique_ptr<FakeBrowseNode>>& Children() const { return children_; }
    Status OpenStatus() const { return openStatus_; }
    Status EnumStatus() const { return enumStatus_; }
    std::size_t EnumFailsAfter() const { return enumFailsAfter_; }
    std::uint32_t BatchSize() const { return batch_; }
    bool OpensAs(std::uint32_t displayType) const {
        return openOnlyAs_ < 0 || displayType == static_cast<std::uint32_t>(openOnlyAs_);
    }

    // The container whose remote name is name (ignoring case), in this subtree.
    const FakeBrowseNode* FindContainer(const std::string& name) const;

private:
    NetResource resource_;
    std::vector<std::unique_ptr<FakeBrowseNode>> children_;
    Status openStatus_ = ERROR_SUCCESS;
    Status enumStatus_ = ERROR_SUCCESS;
    std::size_t enumFailsAfter_ = 0;
    std::uint32_t batch_ = 0;       // 0: as many as asked for
    std::int64_t openOnlyAs_ = -1;  // -1: any display type
};

class FakeNetworkBrowser final : public NetworkBrowser {
public:
    explicit FakeNetworkBrowser(FakePlatformCore& core);

    // The whole network: its children are the providers.
    FakeBrowseNode& Root() { return root_; }

    Status OpenEnum(std::uint32_t scope, std::uint32_t type, std::uint32_t usage, const NetResource* container,
                    std::unique_ptr<ResourceEnumeration>& result) override;

private:
    FakePlatformCore& core_;
    FakeBrowseNode root_;
};

}  // namespace vn::test

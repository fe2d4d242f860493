#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace vn::test {

// A registry that passes everything to another one but fails the value
// write with the given number (counting from 1) and every write after it,
// as a disk that fills up would; and, when asked, the listing of the
// sub-keys of every key opened by that name, as a damaged file would.
class FailingRegistry : public Registry {
public:
    FailingRegistry(Registry& inner, int failingWrite) : inner_(inner), failingWrite_(failingWrite) {}

    void FailListingBelow(std::string_view keyName) { unlistable_ = keyName; }

    Status Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) override;

    int WritesSeen() const { return writesSeen_; }

private:
    friend class FailingRegistryKey;
    bool NextWriteFails() { return ++writesSeen_ >= failingWrite_; }
    bool ListingFails(std::string_view keyName) const { return !unlistable_.empty() && keyName == unlistable_; }

    Registry& inner_;
    int failingWrite_;
    int writesSeen_ = 0;
    std::string unlistable_;
};

}  // namespace vn::test

#include "inventory/FailingRegistry.h"

namespace vn::test {

class FailingRegistryKey : public RegistryKey {
public:
    FailingRegistryKey(FailingRegistry& registry, RegistryKeyPtr inner, std::string_view name)
        : registry_(registry),
          inner_(std::move(inner)),
          name_(name) {}

    Status OpenKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) override {
        return Wrap(inner_->OpenKey(subKey, access, result), subKey, result);
    }
    Status CreateKey(std::string_view subKey, std::uint32_t access, RegistryKeyPtr& result) override {
        return Wrap(inner_->CreateKey(subKey, access, result), subKey, result);
    }
    Status QueryValue(std::string_view name, std::uint32_t* type, std::uint8_t* data, std::uint32_t* size) override {
        return inner_->QueryValue(name, type, data, size);
    }
    Status SetValue(std::string_view name, std::uint32_t type, const std::uint8_t* data, std::uint32_t size) override {
        if (registry_.NextWriteFails())
            return 112;  // ERROR_DISK_FULL
        return inner_->SetValue(name, type, data, size);
    }
    Status EnumKey(std::uint32_t index, std::string& name) override {
        if (registry_.ListingFails(name_))
            return 1117;  // ERROR_IO_DEVICE
        return inner_->EnumKey(index, name);
    }
    Status DeleteTree(std::string_view subKey) override { return inner_->DeleteTree(subKey); }
    std::unique_ptr<RegistryWriteGroup> BeginWriteGroup() override { return inner_->BeginWriteGroup(); }

private:
    Status Wrap(Status status, std::string_view subKey, RegistryKeyPtr& result) {
        if (status == ERROR_SUCCESS)
            result = std::make_unique<FailingRegistryKey>(registry_, std::move(result), subKey);
        return status;
    }

    FailingRegistry& registry_;
    RegistryKeyPtr inner_;
    std::string name_;  // the path it was opened with
};

Status FailingRegistry::Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) {
    const Status status = inner_.Connect(computer, hive, result);
    if (status == ERROR_SUCCESS)
        result = std::make_unique<FailingRegistryKey>(*this, std::move(result), "");
    return status;
}

}  // namespace vn::test

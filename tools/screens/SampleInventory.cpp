#include "SampleInventory.h"

#include <initializer_list>
#include <memory>
#include <string>

#include "catalogue/ProductCatalogue.h"
#include "inventory/InventoryModel.h"
#include "platform/Status.h"
#include "platform/SystemErrorText.h"

namespace vn {
namespace {

constexpr IPv4 Address(unsigned a, unsigned b, unsigned c, unsigned d) { return (a << 24) | (b << 16) | (c << 8) | d; }

struct SampleComputer {
    const char* name;
    const char* os;
    const char* description;
    IPv4 address;
    std::initializer_list<const char*> products;
};

class SampleBuilder {
public:
    SampleBuilder(InventoryModel& model, const ProductCatalogue& catalogue) : model_(model), catalogue_(catalogue) {}

    FolderNode* Folder(FolderNode* parent, const char* name) {
        auto* folder = static_cast<FolderNode*>(model_.InsertNode(parent, std::make_unique<FolderNode>(name), false));
        model_.SetExpanded(folder, true);
        return folder;
    }

    ComputerRecord* Computer(FolderNode* parent, const SampleComputer& sample) {
        auto record = std::make_unique<ComputerRecord>(sample.name);
        record->OSVersion = sample.os;
        record->Description = sample.description;
        record->LastKnownIP = sample.address;
        record->IsServer = std::string(sample.os).find("Server") != std::string::npos ? 1 : 0;
        // The record keeps the catalogue's order, as the probe gives it.
        for (std::size_t index = 0; index < catalogue_.size(); ++index) {
            for (const char* wanted : sample.products) {
                if (catalogue_.FindByName(wanted) == &catalogue_.at(index))
                    record->InstalledProducts.push_back(&catalogue_.at(index));
            }
        }
        return static_cast<ComputerRecord*>(model_.InsertNode(parent, std::move(record), false));
    }

    ComputerRecord* Unreachable(FolderNode* parent, const char* name, Status failure) {
        auto record = std::make_unique<ComputerRecord>(name);
        record->HasError = 1;
        record->ErrorString = SystemErrorText(failure);
        return static_cast<ComputerRecord*>(model_.InsertNode(parent, std::move(record), false));
    }

private:
    InventoryModel& model_;
    const ProductCatalogue& catalogue_;
};

}  // namespace

SampleInventory SampleInventory::Build(InventoryModel& model, const ProductCatalogue& catalogue) {
    SampleBuilder add(model, catalogue);
    SampleInventory sample;

    sample.headOffice = add.Folder(nullptr, "Head Office");
    sample.servers = add.Folder(sample.headOffice, "Servers");
    sample.server = add.Computer(
        sample.servers,
        {"FS01", "Windows NT Server v10.0", "File and print server", Address(10, 0, 0, 10), {"Vantor", "TeamViewer"}});
    add.Computer(sample.servers,
                 {"DC01", "Windows NT Advanced Server v10.0", "Domain controller", Address(10, 0, 0, 2), {}});
    sample.workstation = add.Computer(sample.headOffice, {"ACCT-PC04",
                                                          "Windows NT Workstation v10.0",
                                                          "Accounting, second floor",
                                                          Address(10, 0, 1, 54),
                                                          {"Vantor", "Kestrel", "AnyDesk"}});
    add.Computer(sample.headOffice,
                 {"RECEPTION", "Windows NT Workstation v6.1", "Front desk", Address(10, 0, 1, 20), {"Vantor"}});
    sample.accessDenied = add.Unreachable(sample.headOffice, "HR-LAPTOP", ERROR_ACCESS_DENIED);

    FolderNode* branch = add.Folder(nullptr, "Branch Office");
    add.Computer(branch, {"BR-PC01", "Windows XP v5.1", "", Address(192, 168, 5, 11), {"RealVNC Server"}});
    add.Unreachable(branch, "BR-PC02", ERROR_BAD_NETPATH);

    add.Computer(nullptr, {"BUILD-SRV", "Windows NT Server v6.3", "Nightly builds", Address(10, 0, 2, 5), {"Kestrel"}});
    return sample;
}

}  // namespace vn

#include "manage/ServiceProducts.h"

#include "inventory/InventoryNode.h"

namespace vn {

bool IsServiceProduct(const ProductDef& product) {
    return product.ServicePath.find("System\\CurrentControlSet\\Services") != std::string::npos;
}

std::vector<const ProductDef*> ServiceProducts(const ComputerRecord& computer) {
    std::vector<const ProductDef*> products;
    for (const ProductDef* product : computer.InstalledProducts) {
        if (product != nullptr && IsServiceProduct(*product))
            products.push_back(product);
    }
    return products;
}

std::optional<std::size_t> StartupTypeIndex(std::uint32_t start) {
    for (std::size_t index = 0; index < std::size(kStartupTypes); ++index) {
        if (kStartupTypes[index].start == start)
            return index;
    }
    return std::nullopt;
}

std::string_view MaintenanceServiceOf(std::string_view serviceName) {
    if (serviceName == "Vantor")
        return "VtrMaint";
    if (serviceName == "Kestrel")
        return "KsMaint";
    return {};
}

}  // namespace vn

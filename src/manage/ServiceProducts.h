#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "catalogue/ProductDef.h"

namespace vn {

struct ComputerRecord;

// A product is a Windows service when its key lies among the services.
bool IsServiceProduct(const ProductDef& product);

// The computer's installed products that are services, in its list order.
std::vector<const ProductDef*> ServiceProducts(const ComputerRecord& computer);

// The service manager shows at most this many services.
inline constexpr std::size_t kMaxServiceRows = 31;

// The service's registry value "Start" and its startup types.
inline constexpr std::uint32_t kStartAutomatic = 2;
inline constexpr std::uint32_t kStartManual = 3;
inline constexpr std::uint32_t kStartDisabled = 4;

// "Automatic", "Manual", "Disabled" in the order of the startup-type lists.
struct StartupTypeName {
    std::uint32_t start;
    std::string_view text;
};
inline constexpr StartupTypeName kStartupTypes[] = {
    {kStartAutomatic, "Automatic"}, {kStartManual, "Manual"}, {kStartDisabled, "Disabled"}};

// The list entry of a "Start" value; none for other values.
std::optional<std::size_t> StartupTypeIndex(std::uint32_t start);

// The maker's two host products run a maintenance service beside the main
// one: "VtrMaint" for "Vantor", "KsMaint" for "Kestrel" (exact names);
// empty for any other service.
std::string_view MaintenanceServiceOf(std::string_view serviceName);

}  // namespace vn

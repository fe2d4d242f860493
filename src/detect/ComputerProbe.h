#pragma once

#include <chrono>
#include <string_view>

#include "catalogue/ProductCatalogue.h"
#include "core/StatusSink.h"
#include "inventory/InventoryNode.h"
#include "platform/Platform.h"

namespace vn {

// Examines one computer through its remote registry: which catalogue
// products are installed (their key can be opened for reading), its address,
// or why it could not be examined. Fills record (Name, InstalledProducts,
// HasError, ErrorString, LastKnownIP) and reports each step to status. True
// when every product was tested: a key that does not exist (or is not
// readable) is a product not installed; any other failure to open one ends
// the examination with its error and no products.
bool ProbeComputer(Platform& platform, std::string_view computer, const ProductCatalogue& catalogue,
                   ComputerRecord& record, StatusSink& status);

// The operating-system version, description and server flag of the record's
// computer; they stay cleared when the server information cannot be read.
bool ReadServerInfo(Platform& platform, ComputerRecord& record);

// The longest the examination of one computer takes, whatever it answers or
// fails to: every remote call of ExamineComputer ends by then.
inline constexpr std::chrono::seconds kExaminationLimit{20};

// ProbeComputer, then ReadServerInfo when the products could be tested, all
// within kExaminationLimit and over one set of pipes (RemoteConnectionScope),
// each opened once. The result is ProbeComputer's. The pipes close when the
// examination ends, each closing a round trip to the computer: a caller that
// holds a RemoteConnectionScope around the examination and the delivery of
// its record delivers it first and closes them after.
bool ExamineComputer(Platform& platform, std::string_view computer, const ProductCatalogue& catalogue,
                     ComputerRecord& record, StatusSink& status);

}  // namespace vn

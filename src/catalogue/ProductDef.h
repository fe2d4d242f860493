#pragma once

#include <QIcon>
#include <string>

namespace vn {

// One detectable remote-access product. It counts as installed on a computer
// when ServicePath can be opened for reading under that computer's
// HKEY_LOCAL_MACHINE.
struct ProductDef {
    std::string DisplayName;
    std::string ServicePath;
    std::string ServiceName;
    QIcon Icon;  // null when the product has no picture
};

}  // namespace vn

#include "platform/local/LocalComputerName.h"

#include <unistd.h>

#include <climits>

namespace vn {

std::string ComputerNameFromHostName(std::string_view hostName) {
    std::string name(hostName.substr(0, hostName.find('.')));
    for (char& c : name)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return name;
}

bool ReadLocalComputerName(std::string& name) {
    char host[HOST_NAME_MAX + 1] = {};
    if (gethostname(host, sizeof host - 1) != 0 || host[0] == '\0')
        return false;
    name = ComputerNameFromHostName(host);
    return !name.empty();
}

}  // namespace vn

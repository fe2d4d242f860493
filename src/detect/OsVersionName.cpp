#include "detect/OsVersionName.h"

#include <QString>

#include "core/RegistryString.h"
#include "core/StatusSink.h"

namespace vn {
namespace {

bool Is(std::string_view productType, const char* name) {
    return QString::fromUtf8(productType.data(), static_cast<qsizetype>(productType.size()))
               .compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

// The NT family's name by product type and version; empty for an unknown type.
const char* NtFamilyName(std::string_view productType, unsigned major, unsigned minor) {
    const bool v50 = major == 5 && minor == 0;
    const bool v51 = major == 5 && minor == 1;
    if (Is(productType, "winnt"))
        return v50 ? "2000 Professional" : v51 ? "XP" : "NT Workstation";
    if (Is(productType, "serverNT"))
        return v50 ? "2000 Server" : v51 ? ".NET Server" : "NT Server";
    if (Is(productType, "LanmanNT"))
        return v50 ? "2000 Advanced Server" : v51 ? ".NET Enterprise Server" : "NT Advanced Server";
    return "";
}

const char* OlderFamilyName(unsigned minor) {
    if (minor == 0)
        return "95";
    return minor < 90 ? "98" : "ME";
}

}  // namespace

std::string OsVersionNameFor(std::string_view productType, unsigned major, unsigned minor) {
    if (!productType.empty())
        return FormatText("Windows %s v%d.%d", NtFamilyName(productType, major, minor), major, minor);
    return FormatText("Windows %s %d.%d", OlderFamilyName(minor), major, minor);
}

std::string MakeOsVersionName(Platform& platform, std::string_view computer, unsigned major, unsigned minor) {
    std::string productType;
    RegistryKeyPtr machine;
    if (platform.registry().Connect(computer, Hive::LocalMachine, machine) == ERROR_SUCCESS)
        productType =
            ReadRegistryString(*machine, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", "ProductType", "");
    return OsVersionNameFor(productType, major, minor);
}

}  // namespace vn

#include "detect/ComputerProbe.h"

#include <QString>

#include "detect/AddressResolution.h"
#include "detect/OsVersionName.h"
#include "platform/RemoteConnectionScope.h"
#include "platform/RemoteDeadline.h"
#include "platform/SystemErrorText.h"

namespace vn {
namespace {

// The answers of a computer that says a product's key is not there for us:
// it does not exist, or it exists and is not readable (counted as not
// installed). Every other failure cuts the examination short.
bool IsProductAbsent(Status code) { return code == ERROR_FILE_NOT_FOUND || code == ERROR_ACCESS_DENIED; }

}  // namespace

bool ProbeComputer(Platform& platform, std::string_view computer, const ProductCatalogue& catalogue,
                   ComputerRecord& record, StatusSink& status) {
    const std::string name(computer);
    record.InstalledProducts.clear();
    record.Name = name;
    record.HasError = 0;
    record.ErrorString.clear();

    status.SetText("Connecting to computer %s", name);
    RegistryKeyPtr machine;
    if (Status code = platform.registry().Connect(name, Hive::LocalMachine, machine); code != ERROR_SUCCESS) {
        record.HasError = 1;
        record.ErrorString = SystemErrorText(code);
        status.SetText("Failed to connecting to computer %s.\r\nError message: %s", name, record.ErrorString);
        return false;
    }
    status.SetText("Connect successful.");

    {
        RegistryKeyPtr services;
        if (Status code = machine->OpenKey("System\\CurrentControlSet\\Services\\", KEY_READ, services);
            code != ERROR_SUCCESS) {
            record.HasError = 1;
            record.ErrorString = code == ERROR_ACCESS_DENIED ? "Access is denied." : SystemErrorText(code);
            return false;
        }
        record.LastKnownIP = ResolveAddress(platform, name);
    }

    for (std::size_t i = 0; i < catalogue.size(); ++i) {
        const ProductDef& product = catalogue.at(i);
        status.SetText("Searching for product \"%s\" on computer %s...", product.DisplayName, name);
        RegistryKeyPtr productKey;
        const Status code = machine->OpenKey(product.ServicePath, KEY_READ, productKey);
        if (code == ERROR_SUCCESS) {
            record.InstalledProducts.push_back(&product);
            status.SetText("Service \"%s\" is installed on %s.", product.DisplayName, name);
        } else if (IsProductAbsent(code)) {
            status.SetText("Service \"%s\" is not found on %s.", product.DisplayName, name);
        } else {
            // The computer stopped answering (a broken connection, a dead
            // helper, the examination's deadline): what is missing is
            // unknown, not absent.
            record.InstalledProducts.clear();
            record.HasError = 1;
            record.ErrorString = SystemErrorText(code);
            return false;
        }
    }
    return true;
}

bool ReadServerInfo(Platform& platform, ComputerRecord& record) {
    record.IsServer = 0;
    record.OSVersion.clear();
    record.Description.clear();

    ServerInfo101 info;
    if (platform.netInfo().NetServerGetInfo101(record.Name, info) != ERROR_SUCCESS)
        return false;
    record.OSVersion = MakeOsVersionName(platform, record.Name, info.versionMajor & 0x0F, info.versionMinor);
    record.IsServer = QString::fromStdString(record.OSVersion).toLower().contains(QLatin1String("server")) ? 1 : 0;
    if (!info.comment.empty())
        record.Description = info.comment;
    return true;
}

bool ExamineComputer(Platform& platform, std::string_view computer, const ProductCatalogue& catalogue,
                     ComputerRecord& record, StatusSink& status) {
    RemoteDeadlineScope examination(kExaminationLimit);
    const RemoteConnectionScope connections;
    if (!ProbeComputer(platform, computer, catalogue, record, status))
        return false;
    ReadServerInfo(platform, record);
    return true;
}

}  // namespace vn

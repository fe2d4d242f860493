#include "detect/AddressProbeWorker.h"

#include <arpa/inet.h>

#include "detect/AddressResolution.h"
#include "detect/ComputerProbe.h"
#include "platform/RemoteConnectionScope.h"

namespace vn {

void AddressProbeWorker::Run() {
    std::unique_ptr<ComputerRecord> record = std::move(CurrentJob());
    Platform& platform = scan_.ScanPlatform();
    StatusSink& status = scan_.ProgressSink();

    status.SetText("Test IP address %s...", record->Name);
    if (!scan_.AddressesAnswered() && !TestNetbiosPort(platform, record->LastKnownIP)) {
        status.Step();
        return;
    }
    if (scan_.ResolveNames()) {
        // inet_addr only parses the text; INADDR_NONE marks text that is no address.
        const in_addr_t networkOrder = inet_addr(record->Name.c_str());
        std::string hostName;
        if (networkOrder != INADDR_NONE && platform.resolver().HostName(ntohl(networkOrder), hostName))
            record->Name = hostName;
    }
    record->HasError = 0;
    record->ErrorString.clear();
    const std::string name = record->Name;
    const RemoteConnectionScope pipes;  // closed after the record is filed
    ExamineComputer(platform, name, scan_.Catalogue(), *record, status);
    status.Step();
    scan_.ResultSink().AddNode(std::move(record), scan_.ParentFolder());
}

}  // namespace vn

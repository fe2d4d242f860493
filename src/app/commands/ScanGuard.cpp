#include "app/commands/ScanGuard.h"

#include "app/context/MainWindowContext.h"
#include "core/MessageBoxService.h"

namespace vn {
namespace {

struct RunningScanMessage {
    ScanWorkerKind kind;
    const char* text;
};

constexpr RunningScanMessage kMessages[] = {
    {ScanWorkerKind::Computer,
     "Computer scanning is stil in progress. Please wait for the scan to finish, or terminate it by "
     "clicking the \"Cancel\" button."},
    {ScanWorkerKind::Subnet,
     "Subnet scanning is stil in progress. Please wait for the scan to finish, or terminate it by "
     "clicking the \"Cancel\" button."},
    {ScanWorkerKind::Network,
     "Network scanning is stil in progress. Please wait for the scan to finish, or terminate it by "
     "clicking the \"Cancel\" button."},
};

}  // namespace

bool ScanInProgress(const MainWindowContext& context) {
    for (const RunningScanMessage& message : kMessages) {
        if (context.IsScanRunning(message.kind)) {
            ShowMessage(kAppCaption, message.text, MessageIcon::Stop);
            return true;
        }
    }
    return false;
}

}  // namespace vn

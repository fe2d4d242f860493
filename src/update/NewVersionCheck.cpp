#include "update/NewVersionCheck.h"

#include <chrono>
#include <utility>

#include "update/UpdateHost.h"
#include "update/VersionAnswer.h"
#include "update/WebRequest.h"

namespace vn {

NewVersionCheck::NewVersionCheck(HttpsClient& https, std::string host, NewVersionDialogService& dialogs)
    : https_(https),
      host_(std::move(host)),
      dialogs_(dialogs) {}

NewVersionCheck::~NewVersionCheck() { Cancel(); }

void NewVersionCheck::Cancel() {
    cancel_.store(true);
    Stop();
}

void NewVersionCheck::Run() {
    // The answer is a short version text; anything longer is not the version
    // service, and is not read on.
    constexpr std::size_t kMaxAnswerBytes = 4096;
    // However slowly a server trickles its answer, the check is over by then.
    constexpr std::chrono::seconds kCheckLimit{60};
    const auto answer =
        WebRequest(https_, VersionEndpointUrl(host_), nullptr, nullptr, 0, &cancel_, kMaxAnswerBytes, kCheckLimit);
    if (answer && !cancel_.load() && AnnouncesNewerVersion(answer.get()))
        dialogs_.ShowNewVersionDialog(DownloadPageUrl(host_));
}

std::unique_ptr<NewVersionCheck> StartNewVersionCheck(HttpsClient& https, Registry& registry,
                                                      NewVersionDialogService& dialogs) {
    auto check = std::make_unique<NewVersionCheck>(https, ResolveUpdateHost(registry), dialogs);
    check->Start();
    return check;
}

}  // namespace vn

#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "platform/Https.h"
#include "platform/Registry.h"
#include "platform/WorkerThread.h"
#include "update/NewVersionDialogService.h"

namespace vn {

// Asks the maker's web service once, on a thread of its own, which version is
// current, and shows the new-version dialog when it is later than this
// program's. Failures of any kind show nothing. Destroying the check abandons
// a request still in flight and waits for the thread.
class NewVersionCheck final : public WorkerThread {
public:
    NewVersionCheck(HttpsClient& https, std::string host, NewVersionDialogService& dialogs);
    ~NewVersionCheck() override;

    bool Start() { return StartThread(); }

    // Abandons the request in flight and waits until the thread has ended.
    void Cancel();

protected:
    void Run() override;

private:
    HttpsClient& https_;
    const std::string host_;
    NewVersionDialogService& dialogs_;
    std::atomic<bool> cancel_{false};
};

// What the main window calls while it is built: the host from the settings
// (ResolveUpdateHost), the check started and handed to the caller to keep.
std::unique_ptr<NewVersionCheck> StartNewVersionCheck(HttpsClient& https, Registry& registry,
                                                      NewVersionDialogService& dialogs);

}  // namespace vn

#pragma once

#include <functional>
#include <memory>

#include "core/BlockingCallDispatcher.h"
#include "core/MessageBoxService.h"

class QObject;

namespace vn {

// Runs the remote calls of a dialog on a thread of their own, so that a
// computer that stops answering does not freeze the window: meanwhile the
// user-interface thread waits in a local event loop that keeps the windows
// painted but takes no input, under the busy cursor. Message boxes that the
// work shows through Messages() appear on the user-interface thread while the
// work waits for the answer, so they come in the order the work shows them.
class RemoteCallRunner {
public:
    // Made on the user-interface thread; owner lives there and outlives the runner.
    explicit RemoteCallRunner(QObject* owner);
    ~RemoteCallRunner();
    RemoteCallRunner(const RemoteCallRunner&) = delete;
    RemoteCallRunner& operator=(const RemoteCallRunner&) = delete;

    // Returns when work has returned.
    void Run(const std::function<void()>& work);

    // The current message-box service, reached from any thread.
    MessageBoxService& Messages();

private:
    class UiThreadMessages;
    BlockingCallDispatcher dispatcher_;
    std::unique_ptr<UiThreadMessages> messages_;
};

}  // namespace vn

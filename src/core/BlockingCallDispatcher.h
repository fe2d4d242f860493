#pragma once

#include <QPointer>
#include <functional>
#include <memory>

class QObject;
class QThread;

namespace vn {

// Runs a function on the thread of a given object and waits for it: directly
// when called on that thread, otherwise as a queued call through that
// thread's event loop while the caller waits. That thread must never wait for
// the caller. When the object is gone (or goes before the call ran) the
// function is not run.
class BlockingCallDispatcher {
public:
    // Made on the target's thread (it places a small relay object there).
    explicit BlockingCallDispatcher(QObject* target);

    void Call(const std::function<void()>& function) const;

    class CallQueue;

private:
    QThread* targetThread_;
    QPointer<QObject> relay_;  // read on the target's thread only
    std::shared_ptr<CallQueue> queue_;
};

}  // namespace vn

#pragma once

#include <QPointer>
#include <functional>

class QObject;

namespace vn {

// Runs a function on the thread of a given object and waits for it: directly
// when called on that thread, otherwise as a blocking queued call through the
// thread's event loop. That thread must never wait for the caller.
class BlockingCallDispatcher {
public:
    explicit BlockingCallDispatcher(QObject* target);

    void Call(const std::function<void()>& function) const;

private:
    QPointer<QObject> target_;
};

}  // namespace vn

#include "core/BlockingCallDispatcher.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace vn {

// The calls waiting for the target's thread. Everything handed between the
// threads goes through this queue's mutex, never through data that Qt
// carries: Qt's own locks are invisible to the thread sanitizer.
class BlockingCallDispatcher::CallQueue {
public:
    struct PendingCall {
        const std::function<void()>* function;
        bool done = false;
    };

    void SetRelay(QObject* relay) { relay_ = relay; }

    // Queues the call and wakes the relay up; false when the relay is gone
    // and the call cannot run. The relay's destructor closes the queue under
    // the same lock, so the relay cannot go while it is being woken.
    bool Submit(PendingCall& call) {
        std::lock_guard lock(mutex_);
        if (closed_)
            return false;
        pending_.push_back(&call);
        QCoreApplication::postEvent(relay_, new QEvent(QEvent::User));
        return true;
    }

    void WaitFor(PendingCall& call) {
        std::unique_lock lock(mutex_);
        finished_.wait(lock, [&] { return call.done; });
    }

    // Runs the waiting calls, on the target's thread.
    void RunPending() {
        std::unique_lock lock(mutex_);
        while (!pending_.empty()) {
            PendingCall* call = pending_.front();
            pending_.pop_front();
            lock.unlock();
            (*call->function)();
            lock.lock();
            call->done = true;
            finished_.notify_all();
        }
    }

    // The relay goes: calls not yet run are released unrun, later ones refused.
    void Close() {
        std::lock_guard lock(mutex_);
        closed_ = true;
        for (PendingCall* call : pending_)
            call->done = true;
        pending_.clear();
        finished_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable finished_;
    std::deque<PendingCall*> pending_;
    bool closed_ = false;
    QObject* relay_ = nullptr;
};

namespace {

// Lives on the target's thread, as its child; a posted event wakes it up to
// run the queue there. It runs the queue on any event and leaves the event
// itself to Qt: the event was made on the worker's thread, and only Qt's own
// hand-over (invisible to the thread sanitizer) orders its reading.
class DispatchRelay final : public QObject {
public:
    DispatchRelay(QObject* target, std::shared_ptr<BlockingCallDispatcher::CallQueue> queue)
        : QObject(target),
          queue_(std::move(queue)) {}
    ~DispatchRelay() override { queue_->Close(); }

protected:
    bool event(QEvent* event) override {
        queue_->RunPending();
        return QObject::event(event);
    }

private:
    std::shared_ptr<BlockingCallDispatcher::CallQueue> queue_;
};

}  // namespace

BlockingCallDispatcher::BlockingCallDispatcher(QObject* target)
    : targetThread_(target->thread()),
      queue_(std::make_shared<CallQueue>()) {
    relay_ = new DispatchRelay(target, queue_);
    queue_->SetRelay(relay_);
}

void BlockingCallDispatcher::Call(const std::function<void()>& function) const {
    if (QThread::currentThread() == targetThread_) {
        if (relay_)  // only read on the target's own thread
            function();
        return;
    }
    CallQueue::PendingCall call{&function};
    if (queue_->Submit(call))
        queue_->WaitFor(call);
}

}  // namespace vn

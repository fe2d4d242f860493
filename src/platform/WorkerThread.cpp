#include "platform/WorkerThread.h"

#include <condition_variable>

namespace vn {
namespace {

// Every worker that ends notifies here, so that a waiter on several workers
// wakes up once one of them is idle.
std::mutex g_endedMutex;
std::condition_variable g_ended;

}  // namespace

WorkerThread::WorkerThread() = default;

WorkerThread::~WorkerThread() {
    // Owners stop their workers first; a thread that ended by itself is
    // still joined here so that no thread object is left behind.
    if (thread_.joinable())
        thread_.join();
}

bool WorkerThread::StartThread() {
    std::lock_guard lock(lock_);
    if (running_.load())
        return false;
    JoinEndedThread();
    OnStarting();
    running_.store(true);
    thread_ = std::thread(&WorkerThread::ThreadProcedure, this);
    return true;
}

void WorkerThread::Stop() {
    std::lock_guard lock(lock_);
    if (!running_.load()) {
        JoinEndedThread();
        return;
    }
    stopEvent_.Set();
    JoinEndedThread();
    running_.store(false);
}

void WorkerThread::Wait() {
    std::lock_guard lock(lock_);
    JoinEndedThread();
}

std::thread::id WorkerThread::GetThreadId() const { return threadId_.load(); }

void WorkerThread::OnThreadStarted() { threadId_.store(std::this_thread::get_id()); }

void WorkerThread::ThreadProcedure() {
    OnThreadStarted();
    Run();
    OnFinished();
    {
        std::lock_guard lock(g_endedMutex);
        running_.store(false);
    }
    g_ended.notify_all();
}

void WorkerThread::JoinEndedThread() {
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

std::optional<std::size_t> WaitForFirstIdle(std::span<WorkerThread* const> workers, std::chrono::milliseconds timeout) {
    std::optional<std::size_t> idle;
    std::unique_lock lock(g_endedMutex);
    g_ended.wait_for(lock, timeout, [&] {
        for (std::size_t i = 0; i < workers.size(); ++i) {
            if (!workers[i]->IsRunning()) {
                idle = i;
                return true;
            }
        }
        return false;
    });
    return idle;
}

}  // namespace vn

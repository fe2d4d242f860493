#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <thread>

#include "platform/Event.h"

namespace vn {

// Base of every worker: at most one thread at a time, an auto-reset stop
// event that the thread body polls, and Start/Stop exclusive of each other.
// Owners call Stop (or Wait) before destroying a worker.
class WorkerThread {
public:
    WorkerThread();
    virtual ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Signals the stop event, waits for the thread to end. Nothing when idle.
    void Stop();

    // Waits without time limit for the thread started last.
    void Wait();

    bool IsRunning() const { return running_.load(); }
    Event& GetStopEvent() { return stopEvent_; }
    std::thread::id GetThreadId() const;

protected:
    // Starts the thread unless one is running; false when it was running.
    bool StartThread();

    // Runs in StartThread, under the start lock, when a new thread is about to
    // start (never while one runs).
    virtual void OnStarting() {}
    virtual void OnFinished() {}
    virtual void Run() = 0;
    virtual void OnThreadStarted();

private:
    void ThreadProcedure();
    void JoinEndedThread();

    std::mutex lock_;
    std::atomic<bool> running_{false};
    std::atomic<std::thread::id> threadId_{};
    Event stopEvent_{Event::Mode::AutoReset};
    std::thread thread_;
};

// A worker whose thread body receives a job of its own type. The worker owns
// the job from Start on; a Start while running drops the offered job.
template <typename Job>
class JobWorker : public WorkerThread {
public:
    bool Start(std::unique_ptr<Job> job) {
        std::lock_guard lock(startLock_);
        if (IsRunning())
            return false;
        job_ = std::move(job);
        return StartThread();
    }

protected:
    // The job of the running thread; the thread may release it when done.
    std::unique_ptr<Job>& CurrentJob() { return job_; }

private:
    std::mutex startLock_;
    std::unique_ptr<Job> job_;
};

// Waits until the first of the given workers is idle: returns its index, or
// nothing when none became idle within the time-out.
std::optional<std::size_t> WaitForFirstIdle(std::span<WorkerThread* const> workers, std::chrono::milliseconds timeout);

}  // namespace vn

#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <queue>
#include <vector>

#include "platform/ConnectTimeout.h"
#include "platform/Network.h"

namespace vn {

// One sweep of a range: non-blocking connects driven by one epoll loop on the
// calling thread. An attempt left unanswered within the learnt limit is tried
// once more on the same port before the address counts as silent there; a
// refused one moves on to the next port at once. Descriptors run out: the
// parallelism shrinks to what is in flight, and only when nothing is in
// flight does the sweep fail.
class PortSweep {
public:
    PortSweep(const SweepRequest& request, SweepObserver& observer);
    ~PortSweep();
    PortSweep(const PortSweep&) = delete;
    PortSweep& operator=(const PortSweep&) = delete;

    [[nodiscard]] Status Run();

private:
    using Clock = std::chrono::steady_clock;

    // An address on its way through the ports.
    struct Target {
        IPv4 address = 0;
        std::uint8_t port = 0;   // index into the request's ports
        std::uint8_t tries = 0;  // attempts on that port so far
    };
    struct Attempt {
        int fd = -1;
        Target target;
        Clock::time_point started;
        std::uint64_t serial = 0;  // tells a live deadline from a stale one
    };
    struct Deadline {
        Clock::time_point at;
        std::size_t slot;
        std::uint64_t serial;
        bool operator>(const Deadline& other) const { return at > other.at; }
    };
    enum class Opened { Started, Finished, OutOfDescriptors };

    bool HasWork() const;
    Target NextTarget();
    Opened Open(const Target& target);
    void Fill();
    void Wait();
    void Answered(std::size_t slot);
    void ExpireDue();
    void Release(std::size_t slot);
    // The address's attempt on its current port ended without acceptance.
    void NextPort(Target target);
    void Final(IPv4 address, bool accepted);
    void CloseAll();

    const SweepRequest& request_;
    SweepObserver& observer_;
    int epoll_ = -1;
    std::size_t parallel_;
    std::uint64_t next_;  // next address of the range not yet started
    std::deque<Target> again_;
    std::vector<Attempt> slots_;
    std::vector<std::size_t> freeSlots_;
    std::size_t inFlight_ = 0;
    std::uint64_t serial_ = 0;
    std::priority_queue<Deadline, std::vector<Deadline>, std::greater<>> deadlines_;
    ConnectTimeout timeout_;
};

}  // namespace vn

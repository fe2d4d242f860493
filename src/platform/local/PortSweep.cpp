#include "platform/local/PortSweep.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "platform/local/DescriptorBudget.h"

namespace vn {
namespace {

// The longest wait between two questions to the observer, so that a stop
// request is seen while every attempt waits for its limit.
constexpr std::chrono::milliseconds kLongestWait(200);
constexpr std::size_t kEventsPerWait = 256;

bool OutOfResources(int error) {
    // EADDRNOTAVAIL: no local port left for another connection.
    return error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM || error == EADDRNOTAVAIL;
}

}  // namespace

PortSweep::PortSweep(const SweepRequest& request, SweepObserver& observer)
    : request_(request),
      observer_(observer),
      parallel_(request.Parallel),
      next_(request.First) {}

PortSweep::~PortSweep() {
    CloseAll();
    if (epoll_ >= 0)
        close(epoll_);
}

Status PortSweep::Run() {
    if (request_.Ports.empty() || request_.Parallel == 0)
        return ERROR_INVALID_PARAMETER;
    epoll_ = epoll_create1(EPOLL_CLOEXEC);
    if (epoll_ < 0)
        return OutOfResources(errno) ? ERROR_TOO_MANY_OPEN_FILES : ERROR_NOT_ENOUGH_MEMORY;
    parallel_ = std::min(parallel_, SpareDescriptors());
    if (parallel_ == 0)
        return ERROR_TOO_MANY_OPEN_FILES;
    for (;;) {
        Fill();
        if (inFlight_ == 0) {
            if (!HasWork())
                return ERROR_SUCCESS;
            // Work is left, yet not one connection could be opened.
            if (parallel_ == 0)
                return ERROR_TOO_MANY_OPEN_FILES;
        }
        if (!observer_.Continue(inFlight_)) {
            CloseAll();
            return ERROR_CANCELLED;
        }
        Wait();
        ExpireDue();
    }
}

bool PortSweep::HasWork() const { return !again_.empty() || next_ <= request_.Last; }

PortSweep::Target PortSweep::NextTarget() {
    if (!again_.empty()) {
        const Target target = again_.front();
        again_.pop_front();
        return target;
    }
    return Target{static_cast<IPv4>(next_++)};
}

void PortSweep::Fill() {
    while (inFlight_ < parallel_ && HasWork()) {
        const Target target = NextTarget();
        if (Open(target) == Opened::OutOfDescriptors) {
            // What is in flight now is what this process can hold; the
            // address waits for one of them to end.
            again_.push_front(target);
            parallel_ = inFlight_;
            return;
        }
    }
}

PortSweep::Opened PortSweep::Open(const Target& target) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        if (OutOfResources(errno))
            return Opened::OutOfDescriptors;
        NextPort(target);
        return Opened::Finished;
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(request_.Ports[target.port]);
    peer.sin_addr.s_addr = htonl(target.address);
    const Clock::time_point started = Clock::now();
    const int result = connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
    const int error = result == 0 ? 0 : errno;
    if (error != EINPROGRESS) {
        close(fd);
        if (OutOfResources(error))
            return Opened::OutOfDescriptors;
        if (error == 0 || error == ECONNREFUSED)
            timeout_.AddRoundTrip(std::chrono::duration_cast<ConnectTimeout::Duration>(Clock::now() - started));
        if (error == 0)
            Final(target.address, true);
        else
            NextPort(target);
        return Opened::Finished;
    }
    std::size_t slot = slots_.size();
    if (!freeSlots_.empty()) {
        slot = freeSlots_.back();
        freeSlots_.pop_back();
    } else {
        slots_.emplace_back();
    }
    epoll_event interest{};
    interest.events = EPOLLOUT;
    interest.data.u64 = slot;
    if (epoll_ctl(epoll_, EPOLL_CTL_ADD, fd, &interest) != 0) {
        close(fd);
        freeSlots_.push_back(slot);
        return Opened::OutOfDescriptors;
    }
    Attempt& attempt = slots_[slot];
    attempt.fd = fd;
    attempt.target = target;
    ++attempt.target.tries;
    attempt.started = started;
    attempt.serial = ++serial_;
    ++inFlight_;
    deadlines_.push(Deadline{started + timeout_.Limit(), slot, attempt.serial});
    return Opened::Started;
}

void PortSweep::Wait() {
    auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(kLongestWait);
    if (!deadlines_.empty()) {
        // Rounded up, so that the wait does not end just before the deadline.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadlines_.top().at - Clock::now());
        wait = std::clamp(left, std::chrono::milliseconds(0), wait);
    }
    std::array<epoll_event, kEventsPerWait> events{};
    const int ready =
        epoll_wait(epoll_, events.data(), static_cast<int>(events.size()), static_cast<int>(wait.count()));
    for (int i = 0; i < ready; ++i)
        Answered(static_cast<std::size_t>(events[static_cast<std::size_t>(i)].data.u64));
}

void PortSweep::Answered(std::size_t slot) {
    const Attempt& attempt = slots_[slot];
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(attempt.fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        error = errno;
    if (error == 0 || error == ECONNREFUSED)
        timeout_.AddRoundTrip(std::chrono::duration_cast<ConnectTimeout::Duration>(Clock::now() - attempt.started));
    const Target target = attempt.target;
    Release(slot);
    if (error == 0)
        Final(target.address, true);
    else
        NextPort(target);
}

void PortSweep::ExpireDue() {
    const Clock::time_point now = Clock::now();
    while (!deadlines_.empty() && deadlines_.top().at <= now) {
        const Deadline due = deadlines_.top();
        deadlines_.pop();
        const Attempt& attempt = slots_[due.slot];
        if (attempt.fd < 0 || attempt.serial != due.serial)
            continue;  // answered before its limit
        Target target = attempt.target;
        Release(due.slot);
        if (target.tries < 2) {
            observer_.Retrying(target.address);
            again_.push_back(target);
        } else {
            NextPort(target);
        }
    }
}

void PortSweep::Release(std::size_t slot) {
    Attempt& attempt = slots_[slot];
    close(attempt.fd);
    attempt.fd = -1;
    freeSlots_.push_back(slot);
    --inFlight_;
}

void PortSweep::NextPort(Target target) {
    ++target.port;
    target.tries = 0;
    if (target.port < request_.Ports.size())
        again_.push_back(target);
    else
        Final(target.address, false);
}

void PortSweep::Final(IPv4 address, bool accepted) { observer_.Tested(address, accepted); }

void PortSweep::CloseAll() {
    for (std::size_t slot = 0; slot < slots_.size(); ++slot) {
        if (slots_[slot].fd >= 0)
            Release(slot);
    }
}

}  // namespace vn

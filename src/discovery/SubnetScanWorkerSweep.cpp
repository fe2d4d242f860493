// The fast mode of SubnetScanWorker: the range is swept by the platform on
// the walk's thread, and the addresses that accept are examined as the walk
// examines every address.
#include <string>

#include "discovery/SubnetScanWorker.h"

namespace vn {
namespace {

// Hands the sweep's answers to the worker, and asks the stop question
// between the sweep's waits.
class SweepAnswers final : public SweepObserver {
public:
    SweepAnswers(std::function<void(IPv4, bool)> tested, std::function<bool()> keepGoing)
        : tested_(std::move(tested)),
          keepGoing_(std::move(keepGoing)) {}

    void Tested(IPv4 address, bool accepted) override { tested_(address, accepted); }
    bool Continue(std::size_t /*inFlight*/) override { return keepGoing_(); }

private:
    std::function<void(IPv4, bool)> tested_;
    std::function<bool()> keepGoing_;
};

std::string SweepFailureText(Status status) {
    if (status == ERROR_TOO_MANY_OPEN_FILES)
        return "Fast sweep stopped: no file descriptors are left for connections. Raise the limit of open files or "
               "lower the parallel connections.";
    return "Fast sweep failed with error " + std::to_string(status) + ".";
}

}  // namespace

void SubnetScanWorker::StartWaiting() {
    {
        std::lock_guard lock(lookupsLock_);
        for (std::size_t index = lookups_.size(); index-- > 0;) {
            if (!lookups_[index]->IsRunning()) {
                lookups_[index]->Stop();
                lookups_.erase(lookups_.begin() + static_cast<std::ptrdiff_t>(index));
            }
        }
    }
    while (!waiting_.empty() && LookupCount() < kMaxLookups) {
        StartLookup(waiting_.front());
        waiting_.pop_front();
    }
}

void SubnetScanWorker::Sweep(IPv4 first, IPv4 last) {
    waiting_.clear();
    bool cancelled = false;
    SweepAnswers answers(
        [this](IPv4 address, bool accepted) {
            if (accepted) {
                waiting_.push_back(address);
                StartWaiting();
                return;
            }
            // A silent address is one step, as when its probe found nothing.
            progress_->SetText("Test IP address %s...", FormatIPv4(address));
            progress_->Step();
        },
        [this, &cancelled] {
            StartWaiting();
            cancelled = StopConfirmed("Are you sure you want to stop scanning?");
            return !cancelled;
        });
    SweepRequest request;
    request.First = first;
    request.Last = last;
    request.Ports = job_->Fast->Ports;
    request.Parallel = job_->Fast->Parallel;
    const Status status = platform_.sockets().SweepTcpPorts(request, answers);
    if (cancelled) {
        waiting_.clear();
        Cancel();
        return;
    }
    if (status != ERROR_SUCCESS) {
        waiting_.clear();
        WaitAllLookups();
        progress_->SetStatusText(SweepFailureText(status));
        outcome_.store(Outcome::SweepFailed);
        return;
    }
    while (!waiting_.empty()) {
        const IPv4 address = waiting_.front();
        waiting_.pop_front();
        if (!StartWhenFree(address)) {
            waiting_.clear();
            return;
        }
    }
    Finish();
}

}  // namespace vn

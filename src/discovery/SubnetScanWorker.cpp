#include "discovery/SubnetScanWorker.h"

#include <chrono>

namespace vn {
namespace {

constexpr const char* kCaption = "Subnet Scan";

// WaitForFirstIdle takes a time-out; waiting in slices of it is waiting
// without limit.
std::optional<std::size_t> WaitWithoutLimit(std::span<WorkerThread* const> lookups) {
    for (;;) {
        if (std::optional<std::size_t> ended = WaitForFirstIdle(lookups, std::chrono::hours(1)))
            return ended;
    }
}

}  // namespace

SubnetScanWorker::SubnetScanWorker(Platform& platform, WaitForAnyLookup wait)
    : platform_(platform),
      waitForAny_(wait ? std::move(wait) : WaitForAnyLookup(WaitWithoutLimit)) {}

SubnetScanWorker::~SubnetScanWorker() { Stop(); }

void SubnetScanWorker::OnStarting() {
    // A stop request left from before this scan (the Cancel button signals
    // every scan worker) is forgotten under the start lock, so that a cancel
    // pressed right after the start is kept.
    GetStopEvent().Reset();
    outcome_.store(Outcome::None);
}

std::size_t SubnetScanWorker::LookupCount() {
    std::lock_guard lock(lookupsLock_);
    return lookups_.size();
}

void SubnetScanWorker::StartLookup(IPv4 address) {
    std::lock_guard lock(lookupsLock_);
    SubnetScanContext& scan = *this;
    auto lookup = std::make_unique<AddressProbeWorker>(scan);
    lookup->Start(ComputerRecord::FromAddress(address));
    lookups_.push_back(std::move(lookup));
}

void SubnetScanWorker::RemoveLookup(std::size_t index) {
    std::lock_guard lock(lookupsLock_);
    lookups_.at(index)->Stop();
    lookups_.erase(lookups_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::optional<std::size_t> SubnetScanWorker::WaitForAnyLookupToEnd() {
    std::vector<WorkerThread*> running;
    {
        std::lock_guard lock(lookupsLock_);
        for (const auto& lookup : lookups_)
            running.push_back(lookup.get());
    }
    return waitForAny_(running);
}

void SubnetScanWorker::WaitAllLookups() {
    while (const std::size_t count = LookupCount()) {
        progress_->SetText("Finishing subnet scan, %d lookups still active", static_cast<int>(count));
        // When the wait fails, the first lookup is waited for on its own
        // (Stop joins its thread): the lookups read the job, which goes next.
        RemoveLookup(WaitForAnyLookupToEnd().value_or(0));
    }
}

bool SubnetScanWorker::StopConfirmed(const char* question) {
    return GetStopEvent().Wait(std::chrono::milliseconds(0)) && job_->Questions.ConfirmStop(kCaption, question);
}

void SubnetScanWorker::Cancel() {
    progress_->SetText("Finishing subnet scan...");
    WaitAllLookups();
    progress_->SetText("Subnet scan cancelled.");
    outcome_.store(Outcome::Cancelled);
}

void SubnetScanWorker::Run() {
    job_ = CurrentJob().get();
    // A range that starts at a network address (.0) starts one later; one
    // that ends at .255 keeps it.
    const std::uint64_t first = std::uint64_t{job_->From} + ((job_->From & 0xFF) == 0 ? 1 : 0);
    if (first > job_->To) {
        outcome_.store(Outcome::NothingToTest);
    } else {
        job_->Status.Show(true);
        Walk(static_cast<IPv4>(first), job_->To);
        progress_.reset();
    }
    job_ = nullptr;
    CurrentJob().reset();
}

void SubnetScanWorker::Walk(IPv4 first, IPv4 last) {
    progress_.emplace(job_->Status, std::uint64_t{last} - first + 1);
    if (job_->Fast) {
        Sweep(first, last);
        return;
    }
    // 64 bits, so that a range ending at 255.255.255.255 ends.
    for (std::uint64_t address = first; address <= last; ++address) {
        if (!StartWhenFree(static_cast<IPv4>(address)))
            return;
    }
    Finish();
}

bool SubnetScanWorker::StartWhenFree(IPv4 address) {
    if (LookupCount() == kMaxLookups) {
        if (StopConfirmed("Are you sure you want to stop the scanning?")) {
            Cancel();
            return false;
        }
        const std::optional<std::size_t> ended = WaitForAnyLookupToEnd();
        if (!ended) {
            WaitAllLookups();
            outcome_.store(Outcome::WaitFailed);
            return false;
        }
        RemoveLookup(*ended);
    }
    if (StopConfirmed("Are you sure you want to stop scanning?")) {
        Cancel();
        return false;
    }
    StartLookup(address);
    return true;
}

void SubnetScanWorker::Finish() {
    WaitAllLookups();
    progress_->SetText("Subnet Scan finished successfull.");
    progress_->Show(false);
    outcome_.store(Outcome::Finished);
}

}  // namespace vn

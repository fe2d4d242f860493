#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "detect/AddressProbeWorker.h"
#include "detect/SubnetScanContext.h"
#include "discovery/ScaledProgressSink.h"
#include "discovery/SubnetScanJob.h"
#include "platform/Platform.h"
#include "platform/WorkerThread.h"

namespace vn {

// Walks the job's range of addresses and tests each one for a computer that
// answers on the NetBIOS port, up to kMaxLookups at once, each on an
// AddressProbeWorker of its own; the walk blocks while that many run until
// any one ends. A stop request, confirmed through the job's StopQuestion,
// ends the walk; the lookups already running are always finished. Only the
// running lookups are held, so memory does not grow with the range.
class SubnetScanWorker final : public JobWorker<SubnetScanJob>, private SubnetScanContext {
public:
    // How the last walk ended.
    enum class Outcome { None, Finished, Cancelled, WaitFailed, NothingToTest, SweepFailed };

    static constexpr std::size_t kMaxLookups = 63;

    // Waits until any of the given lookups has ended and gives its index;
    // nothing when the wait failed.
    using WaitForAnyLookup = std::function<std::optional<std::size_t>(std::span<WorkerThread* const>)>;

    // Without a wait of its own, the worker waits without time limit.
    explicit SubnetScanWorker(Platform& platform, WaitForAnyLookup wait = {});
    ~SubnetScanWorker() override;

    // Read after the worker has ended.
    Outcome LastOutcome() const { return outcome_.load(); }

    std::size_t LookupCount();

protected:
    void OnStarting() override;
    void Run() override;

private:
    void Walk(IPv4 first, IPv4 last);
    // The fast mode: the platform sweeps the range and each address that
    // accepts is examined (SubnetScanWorkerSweep.cpp).
    void Sweep(IPv4 first, IPv4 last);
    // Starts waiting examinations while fewer than kMaxLookups run; never blocks.
    void StartWaiting();
    // Starts one examination, waiting for a free place as the walk does;
    // false when the scan ended instead.
    bool StartWhenFree(IPv4 address);
    void Finish();
    void StartLookup(IPv4 address);
    void RemoveLookup(std::size_t index);
    // Waits until no lookup runs; every started lookup has then ended.
    void WaitAllLookups();
    std::optional<std::size_t> WaitForAnyLookupToEnd();
    bool StopConfirmed(const char* question);
    void Cancel();

    // SubnetScanContext, read by the lookups.
    bool ResolveNames() const override { return job_->Resolve; }
    FolderNode* ParentFolder() const override { return job_->Parent; }
    StatusSink& ProgressSink() override { return *progress_; }
    TreeSink& ResultSink() override { return job_->Tree; }
    const ProductCatalogue& Catalogue() const override { return job_->Catalogue; }
    Platform& ScanPlatform() override { return platform_; }
    bool AddressesAnswered() const override { return job_->Fast.has_value(); }

    Platform& platform_;
    WaitForAnyLookup waitForAny_;
    std::atomic<Outcome> outcome_{Outcome::None};
    // Set on the walk's thread before the first lookup starts, and cleared
    // after the last has ended.
    SubnetScanJob* job_ = nullptr;
    std::optional<ScaledProgressSink> progress_;
    std::mutex lookupsLock_;
    std::vector<std::unique_ptr<AddressProbeWorker>> lookups_;
    // Answering addresses of the fast sweep not yet examined.
    std::deque<IPv4> waiting_;
};

}  // namespace vn

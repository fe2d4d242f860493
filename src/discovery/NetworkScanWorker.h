#pragma once

#include <atomic>

#include "discovery/NetworkScanJob.h"
#include "platform/Platform.h"
#include "platform/WorkerThread.h"

namespace vn {

// Browses the Windows network depth first from the job's container: every
// computer the browser reports is examined at once and handed to the tree,
// every other container becomes a folder, all under one top folder named as
// the user typed the container. A stop request is confirmed through the
// job's StopQuestion before the scan stops.
class NetworkScanWorker final : public JobWorker<NetworkScanJob> {
public:
    // How the last scan ended.
    enum class Outcome { None, Finished, Cancelled, Failed };

    // Bytes of the enumeration buffer of each level.
    static constexpr std::uint32_t kEnumBufferBytes = 16384;

    explicit NetworkScanWorker(Platform& platform) : platform_(platform) {}
    ~NetworkScanWorker() override { Stop(); }

    // Read after the worker has ended.
    Outcome LastOutcome() const { return outcome_.load(); }

protected:
    void OnStarting() override;
    void Run() override;

private:
    Platform& platform_;
    std::atomic<Outcome> outcome_{Outcome::None};
};

}  // namespace vn

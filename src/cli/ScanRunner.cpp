#include "cli/ScanRunner.h"

#include <QEventLoop>
#include <QTimer>

#include "detect/BlockingCallDispatcher.h"
#include "detect/ComputerScanWorker.h"
#include "detect/DispatchedStatusSink.h"
#include "detect/DispatchedTreeSink.h"

namespace vn::cli {
namespace {

// How often the loop looks whether the worker has ended. The worker needs
// this thread for every result, so it cannot be waited for directly.
constexpr std::chrono::milliseconds kIdleCheck{10};

}  // namespace

void RunComputerScan(Platform& platform, const ProductCatalogue& catalogue, InventoryModel& model,
                     std::vector<ScanEntry> entries, StatusSink& status,
                     const std::function<void(const ComputerRecord&)>& placed) {
    const BlockingCallDispatcher toModel(&model);
    DispatchedTreeSink tree(
        toModel,
        [&](FolderNode* parent, std::unique_ptr<InventoryNode> node) {
            InventoryNode* inTree = model.InsertNode(parent, std::move(node), true);
            if (const auto* computer = dynamic_cast<const ComputerRecord*>(inTree))
                placed(*computer);
            return inTree;
        },
        [&](const InventoryNode* node) { return model.Contains(node); });
    DispatchedStatusSink dispatchedStatus(toModel, status);

    auto job = std::make_unique<ComputerScanJob>(dispatchedStatus, tree, catalogue);
    job->Entries = std::move(entries);
    ComputerScanWorker worker(platform);
    QEventLoop loop;
    QTimer idleCheck;
    idleCheck.setInterval(kIdleCheck);
    QObject::connect(&idleCheck, &QTimer::timeout, &loop, [&] {
        if (!worker.IsRunning())
            loop.quit();
    });
    if (!worker.Start(std::move(job)))
        return;
    idleCheck.start();
    loop.exec();
    worker.Wait();
}

}  // namespace vn::cli

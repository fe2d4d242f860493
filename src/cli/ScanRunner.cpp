#include "cli/ScanRunner.h"

#include <QEventLoop>
#include <QTimer>

#include "cli/Interrupt.h"
#include "detect/ComputerScanWorker.h"

namespace vn::cli {
namespace {

// How often the loop looks whether the worker has ended or Ctrl+C came.
constexpr std::chrono::milliseconds kIdleCheck{10};

}  // namespace

ModelSinks::ModelSinks(InventoryModel& model, StatusSink& status, PlacedFunction placed)
    : toModel_(&model),
      tree_(
          toModel_,
          [&model, placed = std::move(placed)](FolderNode* parent, std::unique_ptr<InventoryNode> node) {
              InventoryNode* inTree = model.InsertNode(parent, std::move(node), true);
              if (const auto* computer = dynamic_cast<const ComputerRecord*>(inTree); computer && placed)
                  placed(*computer);
              return inTree;
          },
          [&model](const InventoryNode* node) { return model.Contains(node); }),
      status_(toModel_, status) {}

void RunUntilEnded(WorkerThread& worker, InterruptCatcher* interrupts, const std::function<void()>& tick) {
    QEventLoop loop;
    QTimer idleCheck;
    idleCheck.setInterval(kIdleCheck);
    QObject::connect(&idleCheck, &QTimer::timeout, &loop, [&] {
        // The stop request is made before the Ctrl+C counts as taken.
        if (interrupts && InterruptCatcher::Pending()) {
            worker.GetStopEvent().Set();
            interrupts->TakeRequest();
        }
        if (tick)
            tick();
        if (!worker.IsRunning())
            loop.quit();
    });
    idleCheck.start();
    loop.exec();
    worker.Wait();
}

void RunComputerScan(Platform& platform, const ProductCatalogue& catalogue, InventoryModel& model,
                     std::vector<ScanEntry> entries, StatusSink& status, const ModelSinks::PlacedFunction& placed,
                     const std::function<void()>& tick) {
    ModelSinks sinks(model, status, placed);
    auto job = std::make_unique<ComputerScanJob>(sinks.Status(), sinks.Tree(), catalogue);
    job->Entries = std::move(entries);
    ComputerScanWorker worker(platform);
    if (worker.Start(std::move(job)))
        RunUntilEnded(worker, nullptr, tick);
}

}  // namespace vn::cli

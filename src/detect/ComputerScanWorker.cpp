#include "detect/ComputerScanWorker.h"

#include "detect/AddressResolution.h"
#include "detect/ComputerProbe.h"
#include "platform/RemoteConnectionScope.h"

namespace vn {

void ComputerScanWorker::OnStarting() {
    // A stop request left from before this scan (a cancel of another scan)
    // is forgotten. Done before the thread starts rather than in Run, so
    // that a cancel pressed right after the start is not forgotten as well.
    GetStopEvent().Reset();
}

void ComputerScanWorker::Run() {
    ComputerScanJob& scan = *CurrentJob();
    // The bar counts the computers examined; the status line says what is
    // being done to the current one.
    scan.Status.SetRange(static_cast<int>(scan.Entries.size()));
    scan.Status.SetPos(0);
    scan.Status.Show(true);
    for (ScanEntry& entry : scan.Entries) {
        if (GetStopEvent().Wait(std::chrono::milliseconds(0)))
            break;
        auto record = std::make_unique<ComputerRecord>(entry.Name);
        const RemoteConnectionScope pipes;  // closed after the record is filed
        ExamineComputer(platform_, ExaminationTarget(platform_, entry.Name, entry.LastKnownIP), scan.Catalogue, *record,
                        scan.Status);
        record->Name = entry.Name;
        scan.Tree.AddNode(std::move(record), entry.Parent);
        scan.Status.Step();
    }
    scan.Status.Show(false);
    CurrentJob().reset();
}

}  // namespace vn

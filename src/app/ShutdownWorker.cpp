#include "app/ShutdownWorker.h"

namespace vn {

void ShutdownWorker::Run() {
    for (WorkerThread* worker : workers_) {
        worker->GetStopEvent().Set();
        // A worker that never ran, or has ended, passes at once.
        worker->Wait();
    }
    onReady_();
}

}  // namespace vn

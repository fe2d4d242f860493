#include "deploy/CProcessWaiter.h"

namespace vn {

bool CProcessWaiter::Start(ChildProcess& tool) {
    if (IsRunning())
        return false;
    tool_ = &tool;
    return StartThread();
}

void CProcessWaiter::Run() {
    exitStatus_ = tool_->Wait();
    tool_->CloseInput();
    tool_->CloseOutput();
}

}  // namespace vn

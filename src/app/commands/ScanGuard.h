#pragma once

namespace vn {

class MainWindowContext;

// True when a scan worker is running; the first running one (computer,
// subnet, network scan) is then named in a refusal message.
bool ScanInProgress(const MainWindowContext& context);

}  // namespace vn

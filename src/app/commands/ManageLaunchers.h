#pragma once

namespace vn {

class MainWindowContext;
struct SubsystemLaunchers;

// Switches on the policy check, the policy template help and the remote
// service manager, opened over the main window.
void SetManageLaunchers(SubsystemLaunchers& launchers, MainWindowContext& context);

}  // namespace vn

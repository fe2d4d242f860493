#pragma once

namespace vn {

class MainWindowContext;
struct SubsystemLaunchers;

// Switches on Install: the deployment wizard, modal over the main window,
// for the computers the command hands over.
void SetDeployLauncher(SubsystemLaunchers& launchers, MainWindowContext& context);

}  // namespace vn

#pragma once

#include <vector>

#include "detect/ComputerScanJob.h"

namespace vn {

class FileChooser;
class MainWindowContext;
struct SubsystemLaunchers;

// The commands that start scans: add computer, rescan, import, the two
// network scans and the scan chooser. Each is refused while a scan runs and
// ends by giving the focus back to the tree.
class ScanCommands {
public:
    ScanCommands(MainWindowContext& context, const SubsystemLaunchers& launchers, FileChooser*& files)
        : context_(context),
          launchers_(launchers),
          files_(files) {}

    void AddComputer();
    void Rescan();
    void ImportComputerList();
    void ScanNetwork();
    void ScanSubnet();
    // The toolbar's Scan: the chooser, then the scan chosen in it.
    void ScanChooser();

private:
    void StartComputerScan(std::vector<ScanEntry> entries);
    void OpenScanChooser();

    MainWindowContext& context_;
    const SubsystemLaunchers& launchers_;
    FileChooser*& files_;
};

}  // namespace vn

#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vn {

struct ComputerRecord;

// The subsystem a command opens (the launcher it needs); None for the
// commands of the window itself.
enum class Subsystem { None, NetworkScan, SubnetScan, Deployment, PolicyCheck, PolicyTemplate, ServiceManager };

// The entry points of the subsystems that the main window's commands open.
// A subsystem whose launcher is empty is not part of this build: its
// commands are disabled (menu items greyed with their prompts, toolbar
// buttons off) and do nothing when sent. Setting a launcher is the one switch
// that turns a subsystem's commands on.
struct SubsystemLaunchers {
    // Scan Network (136): the network browse scan's dialog and scan.
    std::function<void()> ScanNetwork;
    // Scan Subnet (137): the subnet scan's dialog and scan.
    std::function<void()> ScanSubnet;
    // Install (173): the deployment wizard, modal, for the named computers
    // (tree order, the local computer left out; the list may be empty).
    std::function<void(const std::vector<std::string>& computerNames)> DeploymentWizard;
    // Check Group Policies (270 and the policy panel): the policy check of
    // the computer, run for this computer itself when isLocal; it shows the
    // policy dialog or its own failure message.
    std::function<void(const ComputerRecord& computer, bool isLocal)> PolicyCheck;
    // Group Policy (196): the policy template dialog, with or without the
    // button that opens the directory's users and computers console.
    std::function<void(bool withDirectoryConsoleButton)> PolicyTemplate;
    // Disable/Enable Services (263): the remote service manager, modal.
    std::function<void(const ComputerRecord& computer)> ServiceManager;

    // Whether that subsystem's launcher is set (always for None).
    bool Provides(Subsystem subsystem) const {
        switch (subsystem) {
        case Subsystem::None: return true;
        case Subsystem::NetworkScan: return static_cast<bool>(ScanNetwork);
        case Subsystem::SubnetScan: return static_cast<bool>(ScanSubnet);
        case Subsystem::Deployment: return static_cast<bool>(DeploymentWizard);
        case Subsystem::PolicyCheck: return static_cast<bool>(PolicyCheck);
        case Subsystem::PolicyTemplate: return static_cast<bool>(PolicyTemplate);
        case Subsystem::ServiceManager: return static_cast<bool>(ServiceManager);
        }
        return false;
    }
};

}  // namespace vn

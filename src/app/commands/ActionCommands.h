#pragma once

namespace vn {

class MainWindowContext;
struct ComputerRecord;
struct SubsystemLaunchers;

// The commands that act on selected computers through other subsystems:
// install, the services manager and the policy check, and the policy
// template. They do not change the tree.
class ActionCommands {
public:
    ActionCommands(MainWindowContext& context, const SubsystemLaunchers& launchers)
        : context_(context),
          launchers_(launchers) {}

    void Install();
    void DisableEnableServices();
    // Command 270 of the single-computer context menu: the first selected node.
    void CheckGroupPolicies();
    // "Check policies..." of the policy panel: one computer must be selected.
    void CheckPoliciesOfSelection();
    void GroupPolicy();

private:
    // The one selected node when it is a computer; otherwise the refusal
    // (refusal names what the computer was wanted for) and null.
    const ComputerRecord* SingleSelectedComputer(const char* refusal) const;
    void RunPolicyCheck(const ComputerRecord& computer);

    MainWindowContext& context_;
    const SubsystemLaunchers& launchers_;
};

}  // namespace vn

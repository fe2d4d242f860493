#pragma once

#include <cstdint>
#include <string>

#include "manage/PolicyTable.h"
#include "platform/Platform.h"

namespace vn {

// The Vantor group policies in effect on one computer and for the user sitting
// at it: both levels read through the computer's registry and combined. Holds
// no window; whoever runs it shows RunMessage and the failure text of a code.
class PolicyCheck {
public:
    // Codes of Run besides 0 and the enumeration's own status.
    static constexpr Status kUnreachable = 73;   // the computer's network path was not found
    static constexpr Status kAccessDenied = 51;  // the list of logged-on users was refused

    // This computer: its machine hive and the current user's hive.
    explicit PolicyCheck(Platform& platform);
    // A computer of the network; asks it for its domain or workgroup.
    PolicyCheck(Platform& platform, std::string computer);

    // Reads and combines both levels. 0 when the values were read (with or
    // without the user's), else a code for PolicyCheckFailureText; the table
    // is then incomplete and not to be shown.
    Status Run();

    // Empty for this computer.
    const std::string& ComputerName() const { return computer_; }
    // The computer's domain or workgroup; empty for this computer or when it
    // could not be asked.
    const std::string& Workgroup() const { return workgroup_; }
    // The user the last run found at the computer, or empty.
    const std::string& InteractiveUser() const { return interactiveUser_; }
    // The last warning about the user column; kept until another run warns.
    const std::string& MessageText() const { return messageText_; }
    // The warning of the last run only, which its caller shows; empty when
    // the run had none.
    const std::string& RunMessage() const { return runMessage_; }
    // Non-zero when the computer level wins a conflict.
    std::uint32_t ComputerPreferred() const { return computerPreferred_; }
    const PolicyTable& Table() const { return table_; }

private:
    void ReadComputerPolicies(RegistryKey* machine);
    Status FindUserAndReadPolicies(RegistryKey* users);
    void ReadUserPolicies(RegistryKey* root, const std::string& path);
    void UserPoliciesUnavailable(std::string message);

    Platform& platform_;
    std::uint32_t computerPreferred_ = 1;
    std::string messageText_;
    std::string runMessage_;
    std::string computer_;
    std::string workgroup_;
    std::string computerOwnName_;  // as the workstation service names it
    Status workgroupStatus_ = ERROR_SUCCESS;
    std::string interactiveUser_;
    PolicyTable table_{};
};

// What the user is told when Run gives code: "Error : Access is denied." and
// the like, or the system's text for the code.
std::string PolicyCheckFailureText(Status code);

}  // namespace vn

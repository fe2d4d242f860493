#include "manage/PolicyTable.h"

#include <initializer_list>

namespace vn {

const std::array<PolicyDefinition, kPolicyRowCount> kPolicyDefinitions{{
    {"Logon", "AllowLogon", false, true},
    {"Install", "AllowInstall", true, false},
    {"LinkShare", "AllowLS", true, true},
    {"Admin Toolkit", "AllowToolkit", true, true},
    {"Reboot", "AllowReboot", true, true},
    {"Remote Control", "AllowRemoteControl", true, true},
    {"Remote Printing", "AllowRemotePrinting", true, true},
    {"Clipboard Transfer", "AllowClipboardTransfer", true, true},
    {"File Transfer", "AllowFileTransfer", true, true},
    {"Read", "AllowFileTransferRead", true, true},
    {"Write", "AllowFileTransferWrite", true, true},
}};

namespace {

PolicyValue Combine(PolicyValue computer, PolicyValue user, bool computerPreferred) {
    switch (computer) {
    case Enabled: return user == Disabled && !computerPreferred ? Disabled : Enabled;
    case Disabled: return user == Enabled && !computerPreferred ? Enabled : Disabled;
    default: return user == Disabled ? Disabled : Enabled;
    }
}

// Where the master row holds Disabled in a column, its dependent rows do too.
void ForceDependents(PolicyTable& table, std::size_t master, std::initializer_list<std::size_t> dependents) {
    for (PolicyValue PolicyFeature::*column :
         {&PolicyFeature::computer, &PolicyFeature::user, &PolicyFeature::result}) {
        if (table[master].*column != Disabled)
            continue;
        for (std::size_t row : dependents)
            table[row].*column = Disabled;
    }
}

}  // namespace

std::string_view PolicyValueText(PolicyValue value) {
    switch (value) {
    case NotApplicable: return "N/A";
    case NotConfigured: return "Not configured";
    case Enabled: return "Enabled";
    case Disabled: return "Disabled";
    }
    return "";
}

void ResetPolicyTable(PolicyTable& table) {
    for (std::size_t row = 0; row < kPolicyRowCount; ++row) {
        table[row] = PolicyFeature{};
        if (!kPolicyDefinitions[row].computerLevel)
            table[row].computer = NotApplicable;
        if (!kPolicyDefinitions[row].userLevel)
            table[row].user = NotApplicable;
    }
}

void CombinePolicies(PolicyTable& table, std::uint32_t computerPreferred) {
    for (PolicyFeature& feature : table)
        feature.result = Combine(feature.computer, feature.user, computerPreferred != 0);
    ForceDependents(table, kRemoteControlRow, {kRemoteControlRow + 1, kRemoteControlRow + 2});
    ForceDependents(table, kFileTransferRow, {kFileTransferRow + 1, kFileTransferRow + 2});
}

}  // namespace vn

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace vn {

// One cell of the policy table.
enum PolicyValue : std::int32_t {
    NotApplicable = 0,  // the level has no such policy, or could not be read
    NotConfigured = 1,  // the registry value is absent or unreadable
    Enabled = 2,        // the value is non-zero
    Disabled = 3,       // the value is zero
};

// "N/A", "Not configured", "Enabled", "Disabled".
std::string_view PolicyValueText(PolicyValue value);

// What the host product reads of one feature: the value's name under
// "Software\Policies\Vantor" and the levels that have it.
struct PolicyDefinition {
    std::string_view label;
    std::string_view valueName;
    bool computerLevel;
    bool userLevel;
};

inline constexpr std::size_t kPolicyRowCount = 11;

// The features in their fixed order, which is also the order of reading and
// of the rows shown.
extern const std::array<PolicyDefinition, kPolicyRowCount> kPolicyDefinitions;

// Rows that other rows depend on, and the rows they force off.
inline constexpr std::size_t kLogonRow = 0;
inline constexpr std::size_t kInstallRow = 1;
inline constexpr std::size_t kRemoteControlRow = 5;
inline constexpr std::size_t kFileTransferRow = 8;

// The key the host product reads at both levels, and the value that says
// which level wins a conflict.
inline constexpr std::string_view kPolicyKeyPath = "Software\\Policies\\Vantor";
inline constexpr std::string_view kPreferenceValueName = "MachinePolicyPreference";

// One row: the values at both levels and their combination.
struct PolicyFeature {
    PolicyValue computer = NotConfigured;
    PolicyValue user = NotConfigured;
    PolicyValue result = Enabled;
};

using PolicyTable = std::array<PolicyFeature, kPolicyRowCount>;

// Every row not configured and allowed; the levels a feature does not have
// read N/A.
void ResetPolicyTable(PolicyTable& table);

// Sets every row's result from its two levels: a feature is allowed unless a
// level disables it, and a conflict goes to the preferred level (the computer
// when computerPreferred is non-zero). Then Remote Printing and Clipboard
// Transfer follow Remote Control, and Read and Write follow File Transfer,
// where those are disabled, in each column on its own.
void CombinePolicies(PolicyTable& table, std::uint32_t computerPreferred);

}  // namespace vn

#include "manage/PolicyCheck.h"

#include <cstring>
#include <vector>

#include "detect/ComputerProbe.h"
#include "manage/InteractiveUser.h"
#include "platform/RemoteDeadline.h"
#include "platform/SystemErrorText.h"

namespace vn {
namespace {

// The host product reads each value into four bytes: a longer value fails
// to read, a shorter one fills the low bytes.
bool ReadPolicyDword(RegistryKey& key, std::string_view name, std::uint32_t& value) {
    std::uint8_t bytes[4] = {};
    std::uint32_t size = sizeof bytes;
    if (key.QueryValue(name, nullptr, bytes, &size) != ERROR_SUCCESS)
        return false;
    std::memcpy(&value, bytes, sizeof value);
    return true;
}

PolicyValue ReadPolicyValue(RegistryKey& key, std::string_view name) {
    std::uint32_t value = 0;
    if (!ReadPolicyDword(key, name, value))
        return NotConfigured;
    return value != 0 ? Enabled : Disabled;
}

// Fills one column from the policy key for the rows that exist at that level.
void ReadLevel(RegistryKey& key, PolicyTable& table, PolicyValue PolicyFeature::*column,
               bool PolicyDefinition::*level) {
    for (std::size_t row = 0; row < kPolicyRowCount; ++row) {
        if (kPolicyDefinitions[row].*level)
            table[row].*column = ReadPolicyValue(key, kPolicyDefinitions[row].valueName);
    }
}

void SetColumn(PolicyTable& table, PolicyValue PolicyFeature::*column, PolicyValue value) {
    for (PolicyFeature& feature : table)
        feature.*column = value;
}

}  // namespace

PolicyCheck::PolicyCheck(Platform& platform) : platform_(platform) { ResetPolicyTable(table_); }

PolicyCheck::PolicyCheck(Platform& platform, std::string computer)
    : platform_(platform),
      computer_(std::move(computer)) {
    ResetPolicyTable(table_);
    WkstaInfo100 info;
    workgroupStatus_ = platform_.netInfo().NetWkstaGetInfo100(computer_, info);
    if (workgroupStatus_ == ERROR_SUCCESS) {
        workgroup_ = info.langroup;
        computerOwnName_ = info.computerName;
    } else if (workgroupStatus_ == ERROR_BAD_NETPATH)
        workgroup_ = SystemErrorText(ERROR_BAD_NETPATH);
}

Status PolicyCheck::Run() {
    computerPreferred_ = 1;
    runMessage_.clear();
    ResetPolicyTable(table_);
    if (workgroupStatus_ == ERROR_BAD_NETPATH)
        return kUnreachable;

    if (computer_.empty()) {
        RegistryKeyPtr machine;
        // A hive that cannot be opened leaves machine empty, which reads as
        // no policies set.
        (void)platform_.registry().Connect("", Hive::LocalMachine, machine);
        ReadComputerPolicies(machine.get());
        RegistryKeyPtr currentUser;
        if (platform_.registry().Connect("", Hive::CurrentUser, currentUser) == ERROR_SUCCESS)
            ReadUserPolicies(currentUser.get(), std::string(kPolicyKeyPath));
    } else {
        // However slowly the computer answers and however many users it
        // names, the run ends by the limit of an examination.
        RemoteDeadlineScope examination(kExaminationLimit);
        RegistryKeyPtr machine;
        RegistryKeyPtr users;
        // A computer whose hives cannot be reached has its columns unread;
        // this computer's own hives never stand in for them.
        (void)platform_.registry().Connect(computer_, Hive::LocalMachine, machine);
        (void)platform_.registry().Connect(computer_, Hive::Users, users);
        if (machine)
            ReadComputerPolicies(machine.get());
        else
            SetColumn(table_, &PolicyFeature::computer, NotApplicable);
        machine.reset();
        if (Status status = FindUserAndReadPolicies(users.get()); status != ERROR_SUCCESS)
            return status;
    }
    CombinePolicies(table_, computerPreferred_);
    return ERROR_SUCCESS;
}

void PolicyCheck::ReadComputerPolicies(RegistryKey* machine) {
    RegistryKeyPtr key;
    if (machine == nullptr || machine->OpenKey(kPolicyKeyPath, KEY_READ, key) != ERROR_SUCCESS)
        return;
    std::uint32_t preferred = 0;
    if (ReadPolicyDword(*key, kPreferenceValueName, preferred))
        computerPreferred_ = preferred;
    ReadLevel(*key, table_, &PolicyFeature::computer, &PolicyDefinition::computerLevel);
}

Status PolicyCheck::FindUserAndReadPolicies(RegistryKey* users) {
    std::vector<std::string> names;
    if (Status status = EnumerateLoggedOnUsers(platform_, computer_, names); status != ERROR_SUCCESS)
        return status == ERROR_ACCESS_DENIED ? kAccessDenied : status;
    RemoveRepeatedNames(names);
    // Nobody logged on now means nobody at the computer, whoever sat there
    // at the last run.
    interactiveUser_.clear();
    if (names.empty()) {
        UserPoliciesUnavailable("No Interactive user on this machine");
        return ERROR_SUCCESS;
    }
    const InteractiveUserSearch search =
        FindInteractiveUser(platform_, computer_, {workgroup_, computerOwnName_}, users, names);
    switch (search.outcome) {
    case InteractiveUserSearch::Found:
        interactiveUser_ = search.name;
        ReadUserPolicies(users, search.sid + "\\" + std::string(kPolicyKeyPath));
        break;
    case InteractiveUserSearch::NoneFound: UserPoliciesUnavailable("No Interactive user on this machine"); break;
    case InteractiveUserSearch::NoMapping: {
        WkstaInfo100 local;
        const bool sameWorkgroup =
            platform_.netInfo().NetWkstaGetInfo100("", local) == ERROR_SUCCESS && local.langroup == workgroup_;
        UserPoliciesUnavailable(sameWorkgroup ? "The user policies are unavailable."
                                              : "Selected computer is part of a different domain or workgroup and "
                                                "user policies are unavailable.");
        break;
    }
    case InteractiveUserSearch::HiveUnavailable: UserPoliciesUnavailable("The user policies are unavailable."); break;
    }
    return ERROR_SUCCESS;
}

void PolicyCheck::ReadUserPolicies(RegistryKey* root, const std::string& path) {
    RegistryKeyPtr key;
    if (root != nullptr && root->OpenKey(path, KEY_READ, key) == ERROR_SUCCESS)
        ReadLevel(*key, table_, &PolicyFeature::user, &PolicyDefinition::userLevel);
}

void PolicyCheck::UserPoliciesUnavailable(std::string message) {
    messageText_ = message;
    runMessage_ = std::move(message);
    SetColumn(table_, &PolicyFeature::user, NotApplicable);
}

std::string PolicyCheckFailureText(Status code) {
    switch (code) {
    case PolicyCheck::kAccessDenied: return "Error : Access is denied.";
    case PolicyCheck::kUnreachable: return "Error : The network path was not found.";
    default: return SystemErrorText(code);
    }
}

}  // namespace vn

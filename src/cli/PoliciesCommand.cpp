#include <memory>

#include "cli/Commands.h"
#include "cli/JsonWriter.h"
#include "detect/AddressResolution.h"
#include "detect/ComputerProbe.h"
#include "manage/PolicyCheck.h"
#include "manage/PolicyIdentity.h"
#include "platform/RemoteDeadline.h"

namespace vn::cli {
namespace {

std::optional<std::string> UnlessEmpty(const std::string& text) {
    return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

std::vector<JsonStringMembers> PolicyRows(const PolicyTable& table) {
    std::vector<JsonStringMembers> rows;
    for (std::size_t row = 0; row < kPolicyRowCount; ++row) {
        rows.push_back({{"feature", std::string(kPolicyDefinitions[row].label)},
                        {"value", std::string(kPolicyDefinitions[row].valueName)},
                        {"computer", std::string(PolicyValueText(table[row].computer))},
                        {"user", std::string(PolicyValueText(table[row].user))},
                        {"result", std::string(PolicyValueText(table[row].result))}});
    }
    return rows;
}

}  // namespace

int RunPolicies(CommandContext& context) {
    if (!context.UseCredentials())
        return kExitIncomplete;
    // Every call to the computer, the workgroup's and the user's names
    // included, ends by one limit.
    RemoteDeadlineScope examination(kExaminationLimit);
    Platform& platform = context.host.platform();
    const std::string& name = context.operands.front();
    const bool local = IsLocalComputer(platform, name);
    auto check = local ? std::make_unique<PolicyCheck>(platform) : std::make_unique<PolicyCheck>(platform, name);
    if (const Status code = check->Run(); code != ERROR_SUCCESS)
        return context.Fail(name + ": " + PolicyCheckFailureText(code));
    if (!check->RunMessage().empty())
        context.Warn(name + ": " + check->RunMessage());

    // The user as the policy dialog names it: the one found at the computer,
    // or for this computer the one running the program.
    std::optional<std::string> user;
    if (local || !check->InteractiveUser().empty())
        user = DescribePolicyCheck(platform, *check).user;
    JsonObjectWriter(context.host.out())
        .String("computer", name)
        .StringOrNull("workgroup", UnlessEmpty(check->Workgroup()))
        .StringOrNull("user", user)
        .String("preference", check->ComputerPreferred() != 0 ? "computer" : "user")
        .StringOrNull("message", UnlessEmpty(check->RunMessage()))
        .ObjectArray("policies", PolicyRows(check->Table()));
    return kExitDone;
}

}  // namespace vn::cli

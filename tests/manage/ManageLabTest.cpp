// End-to-end: the policy check and the service work against the Samba lab.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "LabLogonSession.h"
#include "LabTest.h"
#include "SambaLab.h"
#include "SmbLabEnvironment.h"
#include "manage/PolicyCheck.h"
#include "manage/RemoteServices.h"
#include "manage/ServiceProducts.h"
#include "platform/smb/SmbBackend.h"
#include "platform/system/SystemPlatform.h"
#include "support/ScriptedMessageBoxService.h"

namespace vn {
namespace {

using lab::SambaLab;
using lab::SmbLabEnvironment;
using smb::testing::LabLogonSession;

std::vector<std::string> Column(const PolicyTable& table, PolicyValue PolicyFeature::*column) {
    std::vector<std::string> texts;
    for (const PolicyFeature& feature : table)
        texts.emplace_back(PolicyValueText(feature.*column));
    return texts;
}

class ManageLabTest : public lab::LabTest<SmbLabEnvironment> {
protected:
    void SetUpLab() override {
        admin_.Remote().SetPassword(SambaLab::AdminUser().name, SambaLab::AdminUser().password, "");
        user_.Remote().SetPassword(SambaLab::PlainUser().name, SambaLab::PlainUser().password, "");
    }

    static inline const std::string kHost = SmbLabEnvironment::Host(0);
    SystemPlatform admin_;
    SystemPlatform user_;
};

TEST_F(ManageLabTest, PoliciesOfTheHostAndOfTheUserLoggedOnThere) {
    const std::vector<std::string> computerColumn = {
        "N/A",      "Not configured", "Not configured", "Not configured", "Not configured", "Disabled",
        "Disabled", "Disabled",       "Not configured", "Not configured", "Not configured"};
    {
        PolicyCheck check(admin_, kHost);
        ASSERT_EQ(check.Run(), ERROR_SUCCESS);
        EXPECT_EQ(check.Workgroup(), SambaLab::kWorkgroup);
        EXPECT_EQ(check.RunMessage(), "No Interactive user on this machine");
        EXPECT_EQ(check.ComputerPreferred(), 1u);
        EXPECT_EQ(Column(check.Table(), &PolicyFeature::computer), computerColumn);
        EXPECT_EQ(Column(check.Table(), &PolicyFeature::user), std::vector<std::string>(kPolicyRowCount, "N/A"));
    }

    LabLogonSession session(kHost, SambaLab::Hosts().front().name, SambaLab::PlainUser().name,
                            SambaLab::PlainUser().password);
    ASSERT_EQ(session.Error(), "");
    PolicyCheck check(admin_, kHost);
    ASSERT_EQ(check.Run(), ERROR_SUCCESS);
    EXPECT_EQ(check.InteractiveUser(), SambaLab::PlainUser().name);
    EXPECT_EQ(check.RunMessage(), "");
    EXPECT_EQ(Column(check.Table(), &PolicyFeature::computer), computerColumn);
    // The user's Remote Printing is forced off by the computer's Remote
    // Control; the user's File Transfer takes Read and Write with it.
    EXPECT_EQ(
        Column(check.Table(), &PolicyFeature::user),
        (std::vector<std::string>{"Disabled", "N/A", "Not configured", "Not configured", "Not configured",
                                  "Not configured", "Enabled", "Not configured", "Disabled", "Disabled", "Disabled"}));
    EXPECT_EQ(Column(check.Table(), &PolicyFeature::result),
              (std::vector<std::string>{"Disabled", "Enabled", "Enabled", "Enabled", "Enabled", "Disabled", "Disabled",
                                        "Disabled", "Disabled", "Disabled", "Disabled"}));

    // Only administrators may list who is logged on.
    PolicyCheck asUser(user_, kHost);
    EXPECT_EQ(asUser.Run(), PolicyCheck::kAccessDenied);
    PolicyCheck stopped(admin_, SambaLab::StoppedHostAddress());
    EXPECT_EQ(stopped.Run(), PolicyCheck::kUnreachable);
}

TEST_F(ManageLabTest, SpoolerStoppedStartedAndItsStartupTypeChanged) {
    const ProductDef spooler{"Print Spooler", "System\\CurrentControlSet\\Services\\Spooler", "Spooler", {}};
    test::ScriptedMessageBoxService boxes;
    std::atomic<bool> writeErrorShown{false};
    RemoteServices services(admin_, kHost, boxes, writeErrorShown);
    ASSERT_TRUE(services.OpenManager());

    const std::uint32_t start = services.ReadStartupType(spooler);
    ASSERT_NE(start, 0u);
    EXPECT_TRUE(services.WriteStartupType(spooler, kStartManual));
    EXPECT_EQ(services.ReadStartupType(spooler), kStartManual);
    EXPECT_TRUE(services.WriteStartupType(spooler, start));

    if (services.QueryServiceState("Spooler") != ServiceState::Started) {
        ASSERT_TRUE(services.StartRemoteService("Spooler"));
    }
    EXPECT_EQ(services.QueryServiceState("Spooler"), ServiceState::Started);
    EXPECT_TRUE(services.StopRemoteService("Spooler"));
    EXPECT_NE(services.QueryServiceState("Spooler"), ServiceState::Started);
    for (int i = 0; i < 50 && services.QueryServiceState("Spooler") != ServiceState::Stopped; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_TRUE(services.StartRemoteService("Spooler"));
    EXPECT_EQ(services.QueryServiceState("Spooler"), ServiceState::Started);
    EXPECT_TRUE(boxes.Boxes().empty());

    // A plain user may neither control the services nor change them.
    test::ScriptedMessageBoxService refusals;
    RemoteServices asUser(user_, kHost, refusals, writeErrorShown);
    EXPECT_FALSE(asUser.OpenManager());
    EXPECT_FALSE(asUser.WriteStartupType(spooler, kStartManual));
    EXPECT_EQ(asUser.ReadStartupType(spooler), start);
    ASSERT_EQ(refusals.Boxes().size(), 2u);
    EXPECT_EQ(refusals.Boxes()[0].text,
              "You do not have the required permissions to modify service settings on this computer.\n"
              "Click OK to continue.");
    EXPECT_EQ(refusals.Boxes()[1].text, "Error: Access is denied.\r\n");
}

}  // namespace
}  // namespace vn

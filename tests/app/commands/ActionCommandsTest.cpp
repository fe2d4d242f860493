#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

#include "FakeMainWindowContext.h"
#include "ModalDriver.h"
#include "ToolBarStates.h"
#include "app/commands/DeployLauncher.h"
#include "app/commands/MainCommands.h"
#include "app/commands/ManageLaunchers.h"
#include "app/context/CommandIds.h"
#include "app/dialogs/CBetaWarningDlg.h"
#include "app/dialogs/HelpWindow.h"
#include "deploy/ui/CInstallComputersPage.h"
#include "deploy/ui/CInstallMainDlg.h"
#include "inventory/InventoryTreeBuilder.h"
#include "manage/ui/CGroupPolicy.h"
#include "manage/ui/CServiceManager.h"
#include "manage/ui/CVtrPoliciesDlg.h"
#include "support/ScriptedMessageBoxService.h"
#include "ui/HyperlinkLabel.h"

namespace vn {
namespace {

constexpr IPv4 kLocalAddress = 0x7F000001;  // one of the fake computer's own addresses

class ActionCommandsTest : public testing::Test {
protected:
    ActionCommandsTest() {
        launchers.DeploymentWizard = [this](const std::vector<std::string>& names) { wizardRuns.push_back(names); };
        launchers.ServiceManager = [this](const ComputerRecord& computer) { managed.push_back(&computer); };
        launchers.PolicyCheck = [this](const ComputerRecord& computer, bool isLocal) {
            checked.emplace_back(&computer, isLocal);
        };
        commands.SetLaunchers(launchers);
        context.platform.Local().Key(Hive::LocalMachine, "System\\CurrentControlSet\\Services\\Vantor");
    }

    ComputerRecord* Computer(const std::string& name, IPv4 address = 0) {
        ComputerRecord* computer = test::AddComputer(context.model, nullptr, name, {&context.catalogue.at(1)});
        computer->LastKnownIP = address;
        return computer;
    }

    test::ScriptedMessageBoxService boxes;
    test::FakeMainWindowContext context;
    MainCommands commands{context};
    SubsystemLaunchers launchers;
    std::vector<std::vector<std::string>> wizardRuns;
    std::vector<const ComputerRecord*> managed;
    std::vector<std::pair<const ComputerRecord*, bool>> checked;
};

TEST_F(ActionCommandsTest, InstallLeavesTheLocalComputerOutWithOneMessage) {
    context.Select({Computer("pc1"), Computer("self", kLocalAddress), Computer("pc3")});
    commands.Execute(cmd::kInstall);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
    EXPECT_EQ(boxes.Boxes()[0].text, "You cannot install Vantor to local computer.");
    EXPECT_EQ(boxes.Boxes()[0].icon, MessageIcon::Warning);
    EXPECT_EQ(wizardRuns, (std::vector<std::vector<std::string>>{{"pc1", "pc3"}}));
    EXPECT_EQ(context.repaintCount, 1);
    EXPECT_EQ(context.focusCount, 1);
}

TEST_F(ActionCommandsTest, InstallSkipsFoldersAndRunsTheWizardEvenWithNoTarget) {
    context.Select({test::AddFolder(context.model, nullptr, "Office")});
    commands.Execute(cmd::kInstall);
    EXPECT_EQ(wizardRuns, (std::vector<std::vector<std::string>>{{}}));
}

TEST_F(ActionCommandsTest, InstallWithoutVantorHereShowsWhereToGetItAndHowToRegisterIt) {
    test::FakeMainWindowContext bare;  // no Vantor service key on this computer
    MainCommands bareCommands(bare);
    bareCommands.SetLaunchers(launchers);
    ComputerRecord* pc = test::AddComputer(bare.model, nullptr, "pc1");
    bare.Select({pc});
    QString link;
    QString helpPage;
    test::WhenModal<CBetaWarningDlg>([&](CBetaWarningDlg& warning) {
        link = warning.DownloadLink()->Url().toString();
        EXPECT_EQ(warning.windowTitle(), "Vantor Information");
        EXPECT_TRUE(warning.RegisterHint()->text().contains("netwarden deploy-tool PATH"));
        emit warning.RegisterHint()->linkActivated(QStringLiteral("install.html"));
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* help = qobject_cast<HelpWindow*>(window)) {
                helpPage = help->Browser()->source().toString();
                delete help;
            }
        warning.accept();
    });
    bareCommands.Execute(cmd::kInstall);
    EXPECT_TRUE(link.endsWith(QStringLiteral("/go.asp?page=download"))) << link.toStdString();
    EXPECT_EQ(helpPage, QStringLiteral("qrc:/help/install.html"));
    EXPECT_TRUE(wizardRuns.empty());
    EXPECT_EQ(bare.repaintCount, 1);
}

TEST_F(ActionCommandsTest, ServicesNeedOneReachableComputerWithProducts) {
    ComputerRecord* pc1 = Computer("pc1");
    ComputerRecord* pc2 = Computer("pc2");
    const std::string single = "You must select an individual computer to disable/enable services!";

    context.Select({pc1, pc2});
    commands.Execute(cmd::kDisableEnableServices);
    context.Select({test::AddFolder(context.model, nullptr, "Office")});
    commands.Execute(cmd::kDisableEnableServices);
    context.Select({});
    commands.Execute(cmd::kDisableEnableServices);

    pc2->HasError = 1;
    pc2->ErrorString = "Access is denied.\r\n";
    context.Select({pc2});
    commands.Execute(cmd::kDisableEnableServices);

    pc1->InstalledProducts.clear();
    context.Select({pc1});
    commands.Execute(cmd::kDisableEnableServices);

    const auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 5u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(shown[i].text, single);
        EXPECT_EQ(shown[i].icon, MessageIcon::Information);
    }
    EXPECT_EQ(shown[3].text, "Faliled to connect to computer pc2.\nAccess is denied.\r\n");
    EXPECT_EQ(shown[3].icon, MessageIcon::Warning);
    EXPECT_EQ(shown[4].text, "No remote access services detected on this computer.");
    EXPECT_TRUE(managed.empty());

    ComputerRecord* pc3 = Computer("pc3");
    context.Select({pc3});
    commands.Execute(cmd::kDisableEnableServices);
    EXPECT_EQ(managed, (std::vector<const ComputerRecord*>{pc3}));
}

TEST_F(ActionCommandsTest, PolicyPanelChecksOneReachableComputerLocalOrByName) {
    ComputerRecord* self = Computer("self", kLocalAddress);
    ComputerRecord* remote = Computer("remote", 0x0A000005);
    ComputerRecord* failed = Computer("failed");
    failed->HasError = 1;
    failed->ErrorString = "The network path was not found.\r\n";
    auto* panel = commands.CreatePolicyPanel(nullptr);
    auto* check = panel->findChild<QPushButton*>(QStringLiteral("checkPolicies"));
    ASSERT_NE(check, nullptr);
    ASSERT_TRUE(check->isEnabled());

    context.Select({self, remote});
    check->click();
    context.Select({failed});
    check->click();
    context.Select({self});
    check->click();
    context.Select({remote});
    check->click();

    const auto shown = boxes.Boxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].text, "You must select an individual computer to check Group Policies!");
    EXPECT_EQ(shown[1].text, "Faliled to connect to computer failed.\nThe network path was not found.\r\n");
    const std::vector<std::pair<const ComputerRecord*, bool>> expected{{self, true}, {remote, false}};
    EXPECT_EQ(checked, expected);
    delete panel;
}

TEST_F(ActionCommandsTest, ContextMenuPolicyCheckTakesTheFirstSelectedNode) {
    commands.Execute(cmd::kCheckGroupPolicies);  // nothing selected: nothing happens
    ComputerRecord* pc1 = Computer("pc1");
    context.Select({pc1, Computer("pc2")});
    commands.Execute(cmd::kCheckGroupPolicies);
    EXPECT_TRUE(boxes.Boxes().empty());
    const std::vector<std::pair<const ComputerRecord*, bool>> expected{{pc1, false}};
    EXPECT_EQ(checked, expected);
}

TEST(ActionCommandsUnavailable, CommandsOfMissingSubsystemsAreDisabledAndInert) {
    test::ScriptedMessageBoxService boxes;
    test::FakeMainWindowContext context;
    MainCommands commands(context);
    ComputerRecord* pc = test::AddComputer(context.model, nullptr, "pc1");
    context.Select({pc});
    for (int id : {cmd::kInstall, cmd::kScanNetwork, cmd::kScanSubnet, cmd::kGroupPolicy, cmd::kDisableEnableServices,
                   cmd::kCheckGroupPolicies}) {
        EXPECT_FALSE(commands.IsEnabled(id)) << id;
        commands.Execute(id);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
    commands.OnSelectionChanged();
    EXPECT_EQ(
        test::ToolBarStates(commands),
        (std::map<int, bool>{{cmd::kRescan, true}, {cmd::kInstall, false}, {cmd::kDisableEnableServices, false}}));
}

// The window's own launcher opens the wizard with the selected computers.
TEST_F(ActionCommandsTest, InstallOpensTheDeploymentWizard) {
    SubsystemLaunchers deploy;
    SetDeployLauncher(deploy, context);
    commands.SetLaunchers(deploy);
    context.Select({Computer("pc1"), Computer("pc2")});
    std::vector<std::string> rows;
    test::WhenModal<CInstallMainDlg>([&](CInstallMainDlg& wizard) {
        for (const InstallTarget& target : wizard.TargetsPage()->Rows())
            rows.push_back(target.hostName + " " + target.destinationPath + " " + std::to_string(target.port));
        wizard.reject();
    });
    commands.Execute(cmd::kInstall);
    EXPECT_EQ(rows, (std::vector<std::string>{"pc2 C:\\Program Files\\Vantor\\ 2002",
                                              "pc1 C:\\Program Files\\Vantor\\ 2002"}));
    EXPECT_EQ(context.focusCount, 1);
}

// The window's own launchers open the policy dialog, the policy template
// help and the service manager.
TEST_F(ActionCommandsTest, ManageCommandsOpenTheirDialogs) {
    SubsystemLaunchers manage;
    SetManageLaunchers(manage, context);
    commands.SetLaunchers(manage);
    for (int command : {cmd::kGroupPolicy, cmd::kCheckGroupPolicies, cmd::kDisableEnableServices})
        EXPECT_TRUE(commands.IsEnabled(command)) << command;
    context.platform.Computer("pc1").Workgroup("WG").Service("Kestrel", SERVICE_RUNNING, 3);
    context.Select({Computer("pc1")});

    QString status;
    test::WhenModal<CServiceManager>([&](CServiceManager& manager) {
        status = manager.findChild<QLabel*>("status0")->text();
        manager.reject();
    });
    commands.Execute(cmd::kDisableEnableServices);
    EXPECT_EQ(status, "Started");

    QString user;
    test::WhenModal<CVtrPoliciesDlg>([&](CVtrPoliciesDlg& policies) {
        user = policies.findChild<QLabel*>("user")->text();
        policies.findChild<QPushButton*>("learnMore")->click();
        policies.accept();
    });
    commands.Execute(cmd::kCheckGroupPolicies);
    EXPECT_EQ(user, "WG\\");
    EXPECT_EQ(context.sentCommands, std::vector<int>{cmd::kGroupPolicy});

    QString link;
    test::WhenModal<CGroupPolicy>([&](CGroupPolicy& help) {
        link = help.MoreInformationLink()->Url().toString();
        help.accept();
    });
    commands.Execute(cmd::kGroupPolicy);
    EXPECT_TRUE(link.endsWith(QStringLiteral("/go.asp?page=systemadmin"))) << link.toStdString();
}

}  // namespace
}  // namespace vn

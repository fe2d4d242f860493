#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <cstdlib>
#include <memory>

#include "LabLogonSession.h"
#include "LabProcess.h"
#include "SambaLab.h"
#include "app/CColumnTreeCtrl.h"
#include "app/CMainFrame.h"
#include "app/CMainTreeView.h"
#include "app/commands/MainCommands.h"
#include "app/commands/ManageLaunchers.h"
#include "app/commands/ModalDriver.h"
#include "app/context/CommandIds.h"
#include "app/details/CDescriptionComputer.h"
#include "app/details/CDescriptionError.h"
#include "app/details/DetailsPane.h"
#include "app/dialogs/CAddComputer.h"
#include "app/dialogs/CAddFolder.h"
#include "app/dialogs/CScanDlg.h"
#include "catalogue/ProductCatalogue.h"
#include "core/StatusSink.h"
#include "detect/ComputerScanWorker.h"
#include "discovery/SubnetScanWorker.h"
#include "discovery/ui/CSubnetScanDlg.h"
#include "inventory/InventoryModel.h"
#include "manage/ui/CServiceManager.h"
#include "manage/ui/CVtrPoliciesDlg.h"
#include "platform/TempDirectory.h"
#include "platform/smb/SmbBackend.h"
#include "platform/system/SystemPlatform.h"
#include "support/ScriptedMessageBoxService.h"
#include "ui/IpAddressEdit.h"

namespace vn::test {
namespace {

using lab::LabHost;
using lab::SambaLab;

// The text of a dialog's named control; a missing control fails the test
// instead of crashing it.
template <class Control>
QString TextOf(const QObject& dialog, const char* name) {
    const auto* control = dialog.findChild<Control*>(QString::fromLatin1(name));
    if (control == nullptr) {
        ADD_FAILURE() << "no control named " << name;
        return QStringLiteral("(no %1)").arg(QLatin1String(name));
    }
    return control->text();
}

constexpr int kScanTimeoutMs = 60000;

IPv4 AddressOf(const std::string& dotted) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    std::sscanf(dotted.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d);
    return (a << 24) | (b << 16) | (c << 8) | d;
}

std::vector<std::string> ProductNames(const ComputerRecord& computer) {
    std::vector<std::string> names;
    for (const ProductDef* product : computer.InstalledProducts)
        names.push_back(product->DisplayName);
    return names;
}

// The window program as the user runs it: the real main window on the real
// platform, its own user hive in a temporary folder, reaching the lab's
// Samba hosts by address as the lab's administrator, with a client
// configuration that keeps every packet on loopback.
class MainFrameLabTest : public testing::Test {
protected:
    void SetUp() override {
        if (!SambaLab::Running())
            GTEST_SKIP() << "the Samba lab is not running";
        ASSERT_TRUE(SambaLab::WriteClientConfiguration(home_.Path()));
        setenv("HOME", home_.Path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", home_.File("config").c_str(), 1);
        setenv("KRB5CCNAME", ("FILE:" + home_.File("no-ticket")).c_str(), 1);
        setenv("NETWARDEN_USER_HIVE", home_.File("user.db").c_str(), 1);
        setenv("NETWARDEN_MACHINE_HIVE", home_.File("machine.db").c_str(), 1);
        setenv("NETWARDEN_UPDATE_HOST", "127.0.0.1:9", 1);
        unsetenv("NETWARDEN_AUTH_FILE");
        catalogue_.AddBuiltIns();
    }

    static LabHost Host(std::size_t index) { return SambaLab::Hosts().at(index); }

    // A start of the program: a fresh platform on the same hive files.
    std::unique_ptr<CMainFrame> Start() {
        platform_ = std::make_unique<SystemPlatform>();
        const lab::LabUser admin = SambaLab::AdminUser();
        platform_->Remote().SetPassword(admin.name, admin.password, SambaLab::kWorkgroup);
        MainFrameOptions options;
        options.LoadCatalogue = false;
        auto frame = std::make_unique<CMainFrame>(*platform_, catalogue_, options);
        frame->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
        return frame;
    }

    // Closes the window as the close box does: the shutdown saves the tree.
    static void CloseAndWait(std::unique_ptr<CMainFrame>& frame) {
        frame->close();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }, 10000));
        frame.reset();
    }

    // Runs a command whose dialog asks for a name, typing name and OK.
    template <typename Dialog>
    static void RunWithName(CMainFrame& frame, int commandId, const std::string& name) {
        WhenModal<Dialog>([name](Dialog& dialog) {
            dialog.NameEdit()->setText(QString::fromStdString(name));
            dialog.accept();
        });
        frame.SendCommand(commandId);
    }

    // Waits, with the event loop running, until the computer scan has put
    // its results into the tree and ended.
    static bool ScanFinished(CMainFrame& frame) {
        return QTest::qWaitFor([&] { return !frame.ComputerScan().IsRunning(); }, kScanTimeoutMs) &&
               !frame.TreeView().Status().IsShown();
    }

    static ComputerRecord* TopLevelComputer(CMainFrame& frame, const std::string& name) {
        for (InventoryNode* node : frame.Model().ChildrenOf(nullptr)) {
            if (!node->IsFolder && node->Name == name)
                return static_cast<ComputerRecord*>(node);
        }
        return nullptr;
    }

    // What the probe finds on a lab host: the Vantor key, a server's OS
    // version, the host's comment as description.
    static void ExpectLabHost(const ComputerRecord& computer, const LabHost& host) {
        EXPECT_EQ(computer.Name, host.address);
        EXPECT_EQ(computer.HasError, 0) << computer.ErrorString;
        EXPECT_EQ(computer.OSVersion, "Windows NT Server v6.1");
        EXPECT_EQ(computer.Description, host.comment);
        EXPECT_EQ(computer.IsServer, 1);
        EXPECT_EQ(computer.LastKnownIP, AddressOf(host.address));
        EXPECT_EQ(ProductNames(computer), std::vector<std::string>{"Vantor"});
    }

    ScriptedMessageBoxService boxes_;
    TempDirectory home_;
    ProductCatalogue catalogue_;
    std::unique_ptr<SystemPlatform> platform_;
};

TEST_F(MainFrameLabTest, AddedComputerIsExaminedRescannedMovedAndComesBackAfterARestart) {
    const LabHost host = Host(0);
    auto frame = Start();

    RunWithName<CAddComputer>(*frame, cmd::kAddComputer, host.address);
    ASSERT_TRUE(ScanFinished(*frame));
    ComputerRecord* computer = TopLevelComputer(*frame, host.address);
    ASSERT_NE(computer, nullptr);
    ExpectLabHost(*computer, host);

    // Selecting it shows the computer view with what was found.
    frame->TreeView().Tree().MakeSelectedCaret(computer);
    ASSERT_EQ(frame->Details().CurrentKey(), details::kComputer);
    auto* view = static_cast<CDescriptionComputer*>(frame->Details().View(details::kComputer));
    EXPECT_EQ(view->OsVersion()->text(), QStringLiteral("Windows NT Server v6.1"));
    EXPECT_EQ(view->IpAddress()->text(), QString::fromStdString(host.address));

    // A rescan merges fresh values into the same node, and the view follows.
    computer->Description = "stale";
    computer->InstalledProducts.clear();
    QSignalSpy refreshed(&frame->Model(), &InventoryModel::nodeRefreshed);
    frame->SendCommand(cmd::kRescan);
    ASSERT_TRUE(ScanFinished(*frame));
    ASSERT_EQ(frame->Model().ChildrenOf(nullptr).size(), 1u);
    ASSERT_EQ(TopLevelComputer(*frame, host.address), computer);
    ExpectLabHost(*computer, host);
    EXPECT_GE(refreshed.count(), 1);
    EXPECT_EQ(view->Description()->text(), QString::fromStdString(host.comment));

    // With a computer at the caret the new folder goes to the top level.
    RunWithName<CAddFolder>(*frame, cmd::kAddFolder, "Lab");
    ASSERT_EQ(frame->Model().ChildrenOf(nullptr).size(), 2u);
    auto* folder = static_cast<FolderNode*>(frame->Model().ChildrenOf(nullptr).front());
    ASSERT_TRUE(folder->IsFolder);
    EXPECT_EQ(folder->Name, "Lab");
    ASSERT_TRUE(frame->Model().MoveNodes(folder, {computer}, computer));
    ASSERT_EQ(frame->Model().ChildrenOf(nullptr).size(), 1u);
    ASSERT_EQ(folder->Children.size(), 1u);

    CloseAndWait(frame);
    EXPECT_TRUE(boxes_.Boxes().empty());

    frame = Start();
    const NodeList& top = frame->Model().ChildrenOf(nullptr);
    ASSERT_EQ(top.size(), 1u);
    ASSERT_TRUE(top.front()->IsFolder);
    EXPECT_EQ(top.front()->Name, "Lab");
    const NodeList& inside = static_cast<FolderNode*>(top.front())->Children;
    ASSERT_EQ(inside.size(), 1u);
    ASSERT_FALSE(inside.front()->IsFolder);
    ExpectLabHost(*static_cast<ComputerRecord*>(inside.front()), host);
    CloseAndWait(frame);
}

TEST_F(MainFrameLabTest, AnAddressWhereNothingListensBecomesAComputerThatCouldNotBeExamined) {
    const std::string stopped = SambaLab::StoppedHostAddress();
    auto frame = Start();

    RunWithName<CAddComputer>(*frame, cmd::kAddComputer, stopped);
    ASSERT_TRUE(ScanFinished(*frame));
    ComputerRecord* computer = TopLevelComputer(*frame, stopped);
    ASSERT_NE(computer, nullptr);
    EXPECT_EQ(computer->HasError, 1);
    EXPECT_EQ(computer->ErrorString, "The network path was not found.\r\n");
    EXPECT_TRUE(computer->InstalledProducts.empty());

    frame->TreeView().Tree().MakeSelectedCaret(computer);
    ASSERT_EQ(frame->Details().CurrentKey(), details::kError);
    auto* view = static_cast<CDescriptionError*>(frame->Details().View(details::kError));
    EXPECT_EQ(view->ErrorText(), QStringLiteral("Failed to connect to computer \"127.0.0.9\".\r\n"
                                                "The network path was not found.\r\n"));
    EXPECT_FALSE(view->ShowsAccessDenied());
    CloseAndWait(frame);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

// The toolbar's Scan, then Scan Subnet over the lab's range with names not
// resolved (so nothing is looked up beyond this machine): exactly the lab
// hosts come into the tree, examined, and the panel goes when it is done.
TEST_F(MainFrameLabTest, ScanSubnetFromTheChooserFindsExactlyTheLabHosts) {
    auto frame = Start();
    WhenModal<CScanDlg>([](CScanDlg& chooser) { chooser.ScanSubnetButton()->click(); });
    WhenModal<CSubnetScanDlg>([](CSubnetScanDlg& dialog) {
        dialog.RangeChoice()->setChecked(true);
        dialog.FromAddress()->SetAddress(AddressOf(Host(0).address));
        dialog.ToAddress()->SetAddress(AddressOf(SambaLab::StoppedHostAddress()));
        dialog.ResolveCheck()->setChecked(false);
        dialog.accept();
    });
    frame->SendCommand(cmd::kScan);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame->SubnetScan().IsRunning(); }, kScanTimeoutMs));
    EXPECT_FALSE(frame->TreeView().Status().IsShown());

    ASSERT_EQ(frame->Model().ChildrenOf(nullptr).size(), SambaLab::Hosts().size());
    for (const LabHost& host : SambaLab::Hosts()) {
        ComputerRecord* computer = TopLevelComputer(*frame, host.address);
        ASSERT_NE(computer, nullptr) << host.address;
        ExpectLabHost(*computer, host);
    }
    EXPECT_TRUE(boxes_.Boxes().empty());
    CloseAndWait(frame);
}

// Added by name as users do: a NetBIOS name is reached through the lab's
// WINS server and shows its address; a name nobody knows is a network path
// that was not found, not a bad parameter.
TEST_F(MainFrameLabTest, ComputersAddedByNameShowTheirAddressOrThatTheyWereNotFound) {
    const LabHost named = Host(1);  // registered with the WINS server
    auto frame = Start();
    RunWithName<CAddComputer>(*frame, cmd::kAddComputer, named.name);
    ASSERT_TRUE(ScanFinished(*frame));
    RunWithName<CAddComputer>(*frame, cmd::kAddComputer, "NOSUCHPC");
    ASSERT_TRUE(ScanFinished(*frame));

    ComputerRecord* found = TopLevelComputer(*frame, named.name);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->HasError, 0) << found->ErrorString;
    EXPECT_EQ(found->LastKnownIP, AddressOf(named.address));
    frame->TreeView().Tree().MakeSelectedCaret(found);
    ASSERT_EQ(frame->Details().CurrentKey(), details::kComputer);
    auto* view = static_cast<CDescriptionComputer*>(frame->Details().View(details::kComputer));
    EXPECT_EQ(view->IpAddress()->text(), QString::fromStdString(named.address));

    ComputerRecord* unknown = TopLevelComputer(*frame, "NOSUCHPC");
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->HasError, 1);
    EXPECT_EQ(unknown->ErrorString, "The network path was not found.\r\n");
    CloseAndWait(frame);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

// The policy dialog and the service manager from the window's commands, for
// a lab host with a user logged on and the print spooler standing in for a
// remote access service.
TEST_F(MainFrameLabTest, PoliciesOfTheLoggedOnUserAndTheServiceManagerOfALabHost) {
    auto spooler = std::make_unique<ProductDef>();
    spooler->DisplayName = "Print Spooler";
    spooler->ServiceName = "Spooler";
    spooler->ServicePath = "System\\CurrentControlSet\\Services\\Spooler";
    catalogue_.AddUnique(std::move(spooler));
    const LabHost host = Host(0);
    auto frame = Start();
    SubsystemLaunchers launchers = frame->Commands().Launchers();
    SetManageLaunchers(launchers, *frame);
    frame->Commands().SetLaunchers(launchers);
    RunWithName<CAddComputer>(*frame, cmd::kAddComputer, host.address);
    ASSERT_TRUE(ScanFinished(*frame));
    ComputerRecord* computer = TopLevelComputer(*frame, host.address);
    ASSERT_NE(computer, nullptr);
    frame->TreeView().Tree().MakeSelectedCaret(computer);

    {
        smb::testing::LabLogonSession session(host.address, host.name, SambaLab::PlainUser().name,
                                              SambaLab::PlainUser().password);
        ASSERT_EQ(session.Error(), "");
        QString user, logon, remotePrinting;
        WhenModal<CVtrPoliciesDlg>([&](CVtrPoliciesDlg& dialog) {
            user = TextOf<QLabel>(dialog, "user");
            logon = TextOf<QLabel>(dialog, "result0");
            remotePrinting = TextOf<QLabel>(dialog, "user6") + "/" + TextOf<QLabel>(dialog, "result6");
            dialog.accept();
        });
        frame->SendCommand(cmd::kCheckGroupPolicies);
        EXPECT_EQ(user, QStringLiteral("VNLAB\\vnuser"));
        EXPECT_EQ(logon, "Disabled");
        EXPECT_EQ(remotePrinting, "Enabled/Disabled");
    }

    QString before, stopped, started;
    WhenModal<CServiceManager>([&](CServiceManager& manager) {
        const auto status = [&] { return TextOf<QLabel>(manager, "status1"); };
        before = status();
        if (before == "Stopped")
            manager.StartOrStop(1);
        manager.StartOrStop(1);
        stopped = status();
        for (int i = 0; i < 50 && TextOf<QPushButton>(manager, "button1") == "Start"; ++i) {
            manager.StartOrStop(1);  // a spooler still winding down is Unknown and left alone
            if (status() == "Started")
                break;
            QTest::qWait(100);
        }
        started = status();
        manager.accept();
    });
    frame->SendCommand(cmd::kDisableEnableServices);
    EXPECT_EQ(stopped, "Stopped");
    EXPECT_EQ(started, "Started");
    // The lab's Vantor key has no service behind it.
    ASSERT_FALSE(boxes_.Boxes().empty());
    EXPECT_EQ(boxes_.Boxes().front().text, "Error Opening Service");
    CloseAndWait(frame);
}

}  // namespace
}  // namespace vn::test

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/commands/ModalDriver.h"
#include "detect/RecordingSinks.h"
#include "discovery/NetworkScanWorker.h"
#include "discovery/ScanDialogDefaults.h"
#include "discovery/SubnetScanWorker.h"
#include "discovery/ui/CNetScanDlg.h"
#include "discovery/ui/CSubnetScanDlg.h"
#include "discovery/ui/DiscoveryCommands.h"
#include "platform/SystemErrorText.h"
#include "support/FakePlatform.h"
#include "support/ScriptedMessageBoxService.h"
#include "ui/IpAddressEdit.h"

namespace vn {
namespace {

constexpr IPv4 Address(unsigned a, unsigned b, unsigned c, unsigned d) { return (a << 24) | (b << 16) | (c << 8) | d; }

TEST(NetworkScanDialogTest, OffersThisComputersWorkgroupOrTheFailuresText) {
    struct Case {
        Status failure;
        std::string offered;
    };
    const Case cases[] = {
        {ERROR_SUCCESS, "OFFICE"},
        {ERROR_BAD_NETPATH, SystemErrorText(ERROR_BAD_NETPATH)},
        {ERROR_ACCESS_DENIED, ""},
    };
    for (const Case& c : cases) {
        test::FakePlatform platform;
        platform.Local().Workgroup("OFFICE");
        if (c.failure != ERROR_SUCCESS)
            platform.Local().FailWkstaInfo(c.failure);
        CNetScanDlg dialog(NetworkScanDefaultEntry(platform), false);
        EXPECT_EQ(dialog.ContainerCombo()->count(), 1);
        EXPECT_EQ(dialog.Container(), c.offered);
    }
    CNetScanDlg emptyTree("OFFICE", true);
    EXPECT_FALSE(emptyTree.EraseCheck()->isEnabled());
    EXPECT_FALSE(emptyTree.EraseCheck()->isChecked());
    EXPECT_EQ(emptyTree.windowTitle(), "Network Scan");
}

// The name becomes the top folder's: one the tree could not keep (a
// backslash, over 255 bytes) is refused by the Add Folder rule, as typed.
TEST(NetworkScanDialogTest, OkRefusesWhatNoFolderCanBeNamedAndAsksBeforeAnErase) {
    struct Case {
        QString typed;
        bool erase;
        MessageAnswer answer;
        bool accepted;
        const char* caption;  // of the one box shown, or null
        std::string text;
        MessageIcon icon;
    };
    const std::string refused =
        "\" contains characters which are not allowed. Characters which are not allowed "
        "include ~ ` ! @ # $ % ^ & * ( ) = + [ ] { } \\ | ; : ' \" , < > / and ?";
    const Case cases[] = {
        {"", false, MessageAnswer::Ok, false, "Error",
         "The Network container you entered is invalid. Please add a valid name!", MessageIcon::Warning},
        {"   ", false, MessageAnswer::Ok, true, nullptr, "", MessageIcon::Warning},
        {"Entire Network", false, MessageAnswer::Ok, true, nullptr, "", MessageIcon::Warning},
        {QString(255, 'x'), false, MessageAnswer::Ok, true, nullptr, "", MessageIcon::Warning},
        {"CORP\\Sales", false, MessageAnswer::Ok, false, "Vantor Netwarden", "The folder name \"CORP\\Sales" + refused,
         MessageIcon::Stop},
        {"\\\\SERVER", true, MessageAnswer::Yes, false, "Vantor Netwarden", "The folder name \"\\\\SERVER" + refused,
         MessageIcon::Stop},
        {QString(256, 'x'), false, MessageAnswer::Ok, false, "Vantor Netwarden",
         "The folder name is longer than 255 bytes. Please enter a shorter folder name.", MessageIcon::Stop},
        {"LAB", true, MessageAnswer::No, false, "Erase", "Do you really want to erase the previous scan's result?",
         MessageIcon::Question},
        {"LAB", true, MessageAnswer::Yes, true, "Erase", "Do you really want to erase the previous scan's result?",
         MessageIcon::Question},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString());
        test::ScriptedMessageBoxService boxes;
        boxes.QueueAnswer(c.answer);
        CNetScanDlg dialog("OFFICE", false);
        dialog.ContainerCombo()->setEditText(c.typed);
        dialog.EraseCheck()->setChecked(c.erase);
        dialog.accept();
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.accepted);
        ASSERT_EQ(boxes.Boxes().size(), c.caption ? 1u : 0u);
        if (c.caption) {
            EXPECT_EQ(boxes.Boxes()[0].caption, c.caption);
            EXPECT_EQ(boxes.Boxes()[0].text, c.text);
            EXPECT_EQ(boxes.Boxes()[0].icon, c.icon);
        }
        EXPECT_EQ(dialog.Container(), c.typed.toStdString());
    }
}

TEST(SubnetScanDialogTest, StartsFromThisComputersNetworkWithTheSubnetChosen) {
    test::FakePlatform platform;
    platform.LocalServices().SetLocalAddresses({Address(127, 0, 0, 1), Address(192, 168, 5, 77)});
    CSubnetScanDlg dialog(SubnetScanDefaultAddress(platform));
    EXPECT_EQ(dialog.NetAddress()->Address(), Address(192, 168, 5, 0));
    EXPECT_EQ(dialog.NetMask()->Address(), Address(255, 255, 255, 0));
    EXPECT_EQ(dialog.FromAddress()->Address(), Address(192, 168, 5, 1));
    EXPECT_EQ(dialog.ToAddress()->Address(), Address(192, 168, 5, 254));
    EXPECT_TRUE(dialog.SubnetChoice()->isChecked());
    EXPECT_TRUE(dialog.NetAddress()->isEnabled());
    EXPECT_FALSE(dialog.FromAddress()->isEnabled());
    EXPECT_TRUE(dialog.ResolveCheck()->isChecked());

    dialog.RangeChoice()->setChecked(true);
    EXPECT_FALSE(dialog.NetMask()->isEnabled());
    EXPECT_TRUE(dialog.ToAddress()->isEnabled());

    platform.LocalServices().SetLocalAddresses({});
    CSubnetScanDlg none(SubnetScanDefaultAddress(platform));
    for (IpAddressEdit* field : {none.NetAddress(), none.NetMask(), none.FromAddress(), none.ToAddress()}) {
        EXPECT_EQ(field->Address(), 0u);
        EXPECT_EQ(field->Field(3)->text(), "0");
    }
}

TEST(SubnetScanDialogTest, OkGivesTheRangeOrRefusesWithTheFieldsMessage) {
    struct Case {
        bool subnet;
        IPv4 first, second;  // address and mask, or from and to
        const char* refusal;
        IPv4 from, to;
    };
    const Case cases[] = {
        {true, Address(10, 0, 0, 77), Address(255, 255, 255, 252), nullptr, Address(10, 0, 0, 76),
         Address(10, 0, 0, 79)},
        {true, 0, Address(255, 255, 255, 0), kNetworkAddressEmpty, 0, 0},
        {true, Address(10, 0, 0, 0), 0, kSubnetMaskEmpty, 0, 0},
        {false, Address(10, 0, 0, 5), Address(10, 0, 0, 5), nullptr, Address(10, 0, 0, 5), Address(10, 0, 0, 5)},
        {false, Address(10, 0, 0, 6), Address(10, 0, 0, 5), kInvalidAddressRange, 0, 0},
        {false, 0, Address(10, 0, 0, 5), kInvalidAddressRange, 0, 0},
    };
    for (const Case& c : cases) {
        test::ScriptedMessageBoxService boxes;
        CSubnetScanDlg dialog(Address(192, 168, 5, 77));
        (c.subnet ? dialog.SubnetChoice() : dialog.RangeChoice())->setChecked(true);
        (c.subnet ? dialog.NetAddress() : dialog.FromAddress())->SetAddress(c.first);
        (c.subnet ? dialog.NetMask() : dialog.ToAddress())->SetAddress(c.second);
        dialog.accept();
        SCOPED_TRACE(FormatIPv4(c.first) + " " + FormatIPv4(c.second));
        EXPECT_EQ(dialog.result() == QDialog::Accepted, c.refusal == nullptr);
        if (c.refusal) {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].caption, "Error");
            EXPECT_EQ(boxes.Boxes()[0].text, c.refusal);
            EXPECT_EQ(boxes.Boxes()[0].icon, MessageIcon::Warning);
        }
        EXPECT_EQ(dialog.Range().From, c.from);
        EXPECT_EQ(dialog.Range().To, c.to);
    }
}

TEST(IpAddressEditTest, BlankFieldsCountAsZeroAndNumbersStayInRange) {
    IpAddressEdit edit;
    edit.SetAddress(Address(10, 20, 30, 40));
    EXPECT_EQ(edit.Address(), Address(10, 20, 30, 40));
    edit.Field(2)->clear();
    EXPECT_EQ(edit.Address(), Address(10, 20, 0, 40));
    edit.Field(0)->setText("300");
    EXPECT_FALSE(edit.Field(0)->hasAcceptableInput());
}

// Confirms the range 10.9.0.1 to 10.9.0.3.
void AcceptThreeAddresses(CSubnetScanDlg& dialog) {
    dialog.RangeChoice()->setChecked(true);
    dialog.FromAddress()->SetAddress(Address(10, 9, 0, 1));
    dialog.ToAddress()->SetAddress(Address(10, 9, 0, 3));
    dialog.accept();
}

// The commands behind Scan Network and Scan Subnet, on the fake network.
class DiscoveryCommandsTest : public ::testing::Test {
protected:
    DiscoveryCommandsTest() {
        catalogue_.AddBuiltIns();
        platform_.BrowseRoot().AddProvider("Microsoft Windows Network").AddDomain("LAB").AddServer("LAB1");
    }

    test::ScriptedMessageBoxService boxes_;
    test::FakePlatform platform_;
    ProductCatalogue catalogue_;
    InventoryModel model_;
    test::RecordingStatusSink status_;
    test::RecordingTreeSink tree_;
    MessageBoxStopQuestion questions_;
    FolderNode* selected_ = nullptr;
    DiscoveryCommandContext context_{
        nullptr, platform_, model_,     catalogue_,
        status_, tree_,     questions_, [this] { return model_.Contains(selected_) ? selected_ : nullptr; }};
};

TEST_F(DiscoveryCommandsTest, AConfirmedEraseEmptiesTheTreeAndTheScanGoesToTheTopLevel) {
    selected_ = static_cast<FolderNode*>(model_.InsertNode(nullptr, std::make_unique<FolderNode>("Old"), false));
    NetworkScanWorker worker(platform_);
    boxes_.QueueAnswer(MessageAnswer::Yes);
    test::WhenModal<CNetScanDlg>([](CNetScanDlg& dialog) {
        dialog.ContainerCombo()->setEditText("lab");
        dialog.EraseCheck()->setChecked(true);
        dialog.accept();
    });
    RunNetworkScanCommand(context_, worker);
    worker.Wait();
    EXPECT_EQ(model_.rowCount(), 0);
    ASSERT_EQ(tree_.Count(), 2u);
    EXPECT_EQ(tree_.Nodes()[0].node->Name, "lab");
    EXPECT_EQ(tree_.Nodes()[0].parent, nullptr);

    // Without the erase, the selected folder is the parent.
    tree_.Clear();
    selected_ = static_cast<FolderNode*>(model_.InsertNode(nullptr, std::make_unique<FolderNode>("Kept"), false));
    test::WhenModal<CNetScanDlg>([](CNetScanDlg& dialog) { dialog.accept(); });
    platform_.Local().Workgroup("LAB");
    RunNetworkScanCommand(context_, worker);
    worker.Wait();
    EXPECT_EQ(model_.rowCount(), 1);
    ASSERT_EQ(tree_.Count(), 2u);
    EXPECT_EQ(tree_.Nodes()[0].node->Name, "LAB");
    EXPECT_EQ(tree_.Nodes()[0].parent, selected_);
}

TEST_F(DiscoveryCommandsTest, ScanSubnetWalksTheRangeOfTheDialog) {
    SubnetScanWorker worker(platform_);
    test::WhenModal<CSubnetScanDlg>(AcceptThreeAddresses);
    RunSubnetScanCommand(context_, worker);
    worker.Wait();
    EXPECT_EQ(platform_.Log().Count("TestTcpPort"), 3u);

    // Cancelled: nothing is started.
    test::WhenModal<CSubnetScanDlg>([](CSubnetScanDlg& dialog) { dialog.reject(); });
    RunSubnetScanCommand(context_, worker);
    worker.Wait();
    EXPECT_EQ(platform_.Log().Count("TestTcpPort"), 3u);
}

TEST_F(DiscoveryCommandsTest, TheFastSweepBoxStartsUntickedAndIsRememberedFromOneScanToTheNext) {
    SubnetScanWorker worker(platform_);
    struct Case {
        bool tick;
        bool shownTicked;  // as the dialog opened
        std::size_t sweeps;
        std::size_t portTests;
    };
    // The first dialog is unticked; each later one as the previous was confirmed.
    const Case cases[] = {{true, false, 1, 0}, {false, true, 0, 3}, {false, false, 0, 3}};
    for (const Case& c : cases) {
        platform_.Log().Clear();
        bool shownTicked = !c.shownTicked;
        test::WhenModal<CSubnetScanDlg>([&](CSubnetScanDlg& dialog) {
            shownTicked = dialog.FastSweepCheck()->isChecked();
            EXPECT_EQ(dialog.FastSweepCheck()->text(), "Fast sweep");
            dialog.FastSweepCheck()->setChecked(c.tick);
            AcceptThreeAddresses(dialog);
        });
        RunSubnetScanCommand(context_, worker);
        worker.Wait();
        EXPECT_EQ(shownTicked, c.shownTicked);
        EXPECT_EQ(platform_.Log().Count("SweepTcpPorts"), c.sweeps);
        EXPECT_EQ(platform_.Log().Count("TestTcpPort"), c.portTests);
        const auto value =
            platform_.Local().Value(Hive::CurrentUser, "Software\\Vantor Netwarden\\Settings", "SubnetScanFastSweep");
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->type, REG_DWORD);
        EXPECT_EQ(value->data, (std::vector<std::uint8_t>{c.tick ? std::uint8_t{1} : std::uint8_t{0}, 0, 0, 0}));
    }
}

}  // namespace
}  // namespace vn

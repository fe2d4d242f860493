#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <atomic>
#include <thread>

#include "inventory/InventoryNode.h"
#include "manage/ServiceProducts.h"
#include "manage/ui/CServiceManager.h"
#include "support/FakePlatform.h"
#include "support/ScriptedMessageBoxService.h"

namespace vn {
namespace {

ProductDef Product(const std::string& name, const std::string& path) { return ProductDef{name, path, name, {}}; }

const ProductDef kVantor = Product("Vantor", "System\\CurrentControlSet\\Services\\Vantor");
const ProductDef kKestrel = Product("Kestrel", "System\\CurrentControlSet\\Services\\Kestrel");
const ProductDef kSettings = Product("Settings only", "Software\\Vendor\\Settings");
const ProductDef kPending = Product("Pending", "System\\CurrentControlSet\\Services\\Pending");

class ServiceManagerDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform_.Computer("PC1")
            .Service("Vantor", SERVICE_RUNNING, kStartAutomatic)
            .Service("VtrMaint", SERVICE_RUNNING, kStartAutomatic)
            .Service("Kestrel", SERVICE_STOPPED, kStartDisabled)
            .Service("Pending", SERVICE_STOP_PENDING, kStartManual);
        computer_.InstalledProducts = {&kVantor, &kSettings, &kKestrel, &kPending};
        platform_.SetCallHook([this](const test::FakeCall& call) {
            if (!call.computer.empty() && std::this_thread::get_id() == uiThread_)
                ++callsOnUiThread_;
        });
    }
    void TearDown() override { EXPECT_EQ(callsOnUiThread_.load(), 0); }

    template <typename Widget>
    Widget& Find(const QString& name) {
        auto* widget = dialog_.findChild<Widget*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return *widget;
    }
    QComboBox& List(int row) { return Find<QComboBox>(QStringLiteral("startup%1").arg(row)); }
    QPushButton& Button(int row) { return Find<QPushButton>(QStringLiteral("button%1").arg(row)); }
    QString Status(int row) { return Find<QLabel>(QStringLiteral("status%1").arg(row)).text(); }
    std::uint32_t Start(const char* service) {
        auto value = platform_.Computer("PC1").Value(
            Hive::LocalMachine, std::string("System\\CurrentControlSet\\Services\\") + service, "Start");
        return value && value->data.size() == 4 ? value->data[0] : 0u;
    }

    test::FakePlatform platform_;
    test::ScriptedMessageBoxService boxes_;
    ComputerRecord computer_{"PC1"};
    CServiceManager dialog_{platform_};
    const std::thread::id uiThread_ = std::this_thread::get_id();
    std::atomic<int> callsOnUiThread_{0};
};

TEST_F(ServiceManagerDialogTest, RowsForTheServiceProductsWithTheirTypesAndStates) {
    dialog_.SetComputer(computer_);
    EXPECT_EQ(dialog_.windowTitle(), "Disable/Enable Remote Access Services ");
    EXPECT_EQ(dialog_.height(), 240 + 3 * 25);
    EXPECT_EQ(Find<QLabel>("name0").text(), "Vantor");
    EXPECT_EQ(Find<QLabel>("name1").text(), "Kestrel");
    EXPECT_EQ(dialog_.findChild<QLabel*>("name3"), nullptr);
    struct Expected {
        QString list, status, button;
        bool buttonEnabled, listEnabled;
    };
    const Expected rows[] = {{"Automatic", "Started", "Stop", true, true},
                             {"Disabled", "Stopped", "Start", false, true},
                             {"Manual", "Unknown", "Change", false, false}};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(List(row).currentText(), rows[row].list) << row;
        EXPECT_EQ(Status(row), rows[row].status) << row;
        EXPECT_EQ(Button(row).text(), rows[row].button) << row;
        EXPECT_EQ(Button(row).isEnabled(), rows[row].buttonEnabled) << row;
        EXPECT_EQ(List(row).isEnabled(), rows[row].listEnabled) << row;
    }
    EXPECT_FALSE(Find<QPushButton>("apply").isEnabled());
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ServiceManagerDialogTest, ApplyWritesTheTypesAndOkAfterAChangeToo) {
    dialog_.SetComputer(computer_);
    List(1).setCurrentIndex(1);  // Manual
    EXPECT_TRUE(Find<QPushButton>("apply").isEnabled());
    Find<QPushButton>("apply").click();
    EXPECT_EQ(Start("Kestrel"), kStartManual);
    EXPECT_EQ(Start("Vantor"), kStartAutomatic);
    EXPECT_TRUE(Button(1).isEnabled());
    EXPECT_FALSE(Find<QPushButton>("apply").isEnabled());

    List(0).setCurrentIndex(2);  // Disabled, while running: the button stays
    Find<QPushButton>("cancel").click();
    EXPECT_EQ(Start("Vantor"), kStartAutomatic);
    Find<QPushButton>("ok").click();
    EXPECT_EQ(Start("Vantor"), kStartDisabled);
    EXPECT_TRUE(Button(0).isEnabled());
}

TEST_F(ServiceManagerDialogTest, AWriteThatDoesNotLandShowsWhatTheComputerHolds) {
    platform_.Computer("PC1").Key(Hive::LocalMachine, kVantor.ServicePath).RefuseWrite();
    dialog_.SetComputer(computer_);
    List(0).setCurrentIndex(1);
    Find<QPushButton>("apply").click();
    EXPECT_EQ(List(0).currentText(), "Automatic");
    EXPECT_LE(boxes_.Boxes().size(), 1u);  // told once in the program's run
}

TEST_F(ServiceManagerDialogTest, StopAndStartWithTheMaintenanceService) {
    dialog_.SetComputer(computer_);
    Button(0).click();
    EXPECT_EQ(platform_.Computer("PC1").ServiceState("VtrMaint"), SERVICE_STOPPED);
    EXPECT_EQ(platform_.Computer("PC1").ServiceState("Vantor"), SERVICE_STOPPED);
    EXPECT_EQ(Status(0), "Stopped");
    EXPECT_EQ(Button(0).text(), "Start");
    Button(0).click();
    EXPECT_EQ(platform_.Computer("PC1").ServiceState("VtrMaint"), SERVICE_RUNNING);
    EXPECT_EQ(Status(0), "Started");
    EXPECT_EQ(Button(0).text(), "Stop");
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ServiceManagerDialogTest, AManagerThatCannotBeOpenedLeavesEveryRowUnknown) {
    platform_.Computer("PC1").FailServiceManager(ERROR_ACCESS_DENIED);
    dialog_.SetComputer(computer_);
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].text,
              "You do not have the required permissions to modify service settings on this computer.\n"
              "Click OK to continue.");
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(Status(row), "Unknown");
        EXPECT_FALSE(Button(row).isEnabled());
        EXPECT_FALSE(List(row).isEnabled());
    }
}

TEST_F(ServiceManagerDialogTest, AComputerWithoutServiceProductsHasTheSmallestDialog) {
    computer_.InstalledProducts = {&kSettings};
    dialog_.SetComputer(computer_);
    EXPECT_EQ(dialog_.height(), 240);
    EXPECT_EQ(dialog_.findChild<QLabel*>("name0"), nullptr);
}

}  // namespace
}  // namespace vn

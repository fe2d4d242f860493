#include <gtest/gtest.h>

#include <functional>

#include "inventory/InventoryNode.h"
#include "manage/RemoteServices.h"
#include "manage/ServiceProducts.h"
#include "platform/SystemErrorText.h"
#include "support/FakePlatform.h"
#include "support/ScriptedMessageBoxService.h"

namespace vn {
namespace {

ProductDef Product(const std::string& name, const std::string& path) { return ProductDef{name, path, name, {}}; }

const ProductDef kVantor = Product("Vantor", "System\\CurrentControlSet\\Services\\Vantor");
const ProductDef kKestrel = Product("Kestrel", "System\\CurrentControlSet\\Services\\Kestrel");

std::vector<std::string> Texts(const test::ScriptedMessageBoxService& boxes) {
    std::vector<std::string> texts;
    for (const auto& box : boxes.Boxes())
        texts.push_back(box.text);
    return texts;
}

TEST(ServiceProductsTest, OnlyProductsAmongTheServicesAndTheirMaintenanceServices) {
    const ProductDef settings = Product("Settings", "Software\\Vendor\\Product");
    ComputerRecord computer("PC1");
    computer.InstalledProducts = {&kVantor, &settings, &kKestrel};
    EXPECT_EQ(ServiceProducts(computer), (std::vector<const ProductDef*>{&kVantor, &kKestrel}));
    EXPECT_EQ(MaintenanceServiceOf("Vantor"), "VtrMaint");
    EXPECT_EQ(MaintenanceServiceOf("Kestrel"), "KsMaint");
    EXPECT_EQ(MaintenanceServiceOf("vantor"), "");
    EXPECT_EQ(StartupTypeIndex(3), std::optional<std::size_t>(1));
    EXPECT_EQ(StartupTypeIndex(1), std::nullopt);
}

// The maker's two products with their maintenance services.
void SetUpServices(test::FakeComputer& pc) {
    pc.Service("Vantor", SERVICE_RUNNING, kStartAutomatic)
        .Service("VtrMaint", SERVICE_RUNNING, kStartAutomatic)
        .Service("Kestrel", SERVICE_STOPPED, kStartManual)
        .Service("KsMaint", SERVICE_RUNNING, kStartManual);
}

// The services a computer was asked to start or stop, in order.
std::vector<std::string> Controlled(test::FakePlatform& platform) {
    std::vector<std::string> names;
    for (const test::FakeCall& call : platform.Log().Calls()) {
        if (call.operation == "StartService" || call.operation == "ControlService")
            names.push_back(call.operation.substr(0, 5) + " " + call.arguments.front());
    }
    return names;
}

class RemoteServicesTest : public ::testing::Test {
protected:
    void SetUp() override { SetUpServices(Pc()); }
    test::FakeComputer& Pc() { return platform_.Computer("PC1"); }
    std::unique_ptr<RemoteServices> Open() {
        auto services = std::make_unique<RemoteServices>(platform_, "PC1", boxes_, writeErrorShown_);
        services->OpenManager();
        return services;
    }
    test::FakePlatform platform_;
    test::ScriptedMessageBoxService boxes_;
    std::atomic<bool> writeErrorShown_{false};
};

TEST_F(RemoteServicesTest, ManagerThatCannotBeOpenedIsToldAndLeavesEveryServiceUnknown) {
    const std::pair<Status, std::string> cases[] = {
        {ERROR_ACCESS_DENIED,
         "You do not have the required permissions to modify service settings on this computer.\n"
         "Click OK to continue."},
        {RPC_S_SERVER_UNAVAILABLE, SystemErrorText(RPC_S_SERVER_UNAVAILABLE)},
    };
    for (const auto& [status, text] : cases) {
        test::ScriptedMessageBoxService boxes;
        Pc().FailServiceManager(status);
        RemoteServices services(platform_, "PC1", boxes, writeErrorShown_);
        EXPECT_FALSE(services.OpenManager());
        EXPECT_EQ(services.QueryServiceState("Vantor"), ServiceState::Unknown);
        EXPECT_EQ(Texts(boxes), std::vector<std::string>{text});
        EXPECT_EQ(boxes.Boxes().front().icon, MessageIcon::None);
    }
}

TEST_F(RemoteServicesTest, StatesAndTheirFailures) {
    Pc().Service("Pending", SERVICE_START_PENDING, kStartManual)
        .Service("Closed", SERVICE_RUNNING, kStartManual)
        .RefuseService("Closed", test::FakeServiceCall::Open, ERROR_ACCESS_DENIED)
        .Service("Mute", SERVICE_RUNNING, kStartManual)
        .RefuseService("Mute", test::FakeServiceCall::Query, RPC_S_CALL_FAILED_DNE);
    const std::tuple<const char*, ServiceState, std::vector<std::string>> cases[] = {
        {"Vantor", ServiceState::Started, {}},
        {"Kestrel", ServiceState::Stopped, {}},
        {"Pending", ServiceState::Unknown, {}},
        {"Closed", ServiceState::Unknown, {"Error Opening Service"}},
        {"Missing", ServiceState::Unknown, {"Error Opening Service"}},
        {"Mute", ServiceState::Unknown, {"Error Getting information about service status"}},
    };
    for (const auto& [name, state, texts] : cases) {
        test::ScriptedMessageBoxService boxes;
        RemoteServices one(platform_, "PC1", boxes, writeErrorShown_);
        one.OpenManager();
        EXPECT_EQ(one.QueryServiceState(name), state) << name;
        EXPECT_EQ(Texts(boxes), texts) << name;
    }
    EXPECT_EQ(platform_.OpenHandleCount(), 0);
}

// Start and stop with the maintenance services: which requests go out, in
// which order, what the user is told and whether the main service took it.
TEST_F(RemoteServicesTest, MaintenanceServiceGoesFirst) {
    struct Case {
        const char* name;
        std::function<void(test::FakeComputer&)> setUp;
        bool start;
        const char* service;
        bool done;
        std::vector<std::string> controlled;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {"stop with its maintenance service", {}, false, "Vantor", true, {"Contr VtrMaint", "Contr Vantor"}, {}},
        {"maintenance service refuses to stop",
         [](test::FakeComputer& pc) {
             pc.RefuseService("VtrMaint", test::FakeServiceCall::Control, ERROR_ACCESS_DENIED);
         },
         false,
         "Vantor",
         false,
         {"Contr VtrMaint"},
         {"Could not stop the Vantor Maintenance service on PC1.\n\nAccess is denied.\r\n"}},
        {"maintenance service already running", {}, true, "Kestrel", true, {"Start Kestrel"}, {}},
        {"maintenance service stopped",
         [](test::FakeComputer& pc) { pc.Service("KsMaint", SERVICE_STOPPED, kStartManual); },
         true,
         "Kestrel",
         true,
         {"Start KsMaint", "Start Kestrel"},
         {}},
        {"maintenance service missing",
         [](test::FakeComputer& pc) {
             pc.Service("Vantor", SERVICE_STOPPED, kStartManual);
             pc.RefuseService("VtrMaint", test::FakeServiceCall::Open, ERROR_SERVICE_DOES_NOT_EXIST);
         },
         true,
         "Vantor",
         true,
         {"Start Vantor"},
         {"Error Opening Service"}},
        {"main service disabled",
         [](test::FakeComputer& pc) { pc.Service("Kestrel", SERVICE_STOPPED, kStartDisabled); },
         true,
         "Kestrel",
         false,
         {"Start Kestrel"},
         {"Could not start the Kestrel service on PC1.\n\n" + SystemErrorText(ERROR_SERVICE_DISABLED)}},
        {"main service cannot be opened",
         [](test::FakeComputer& pc) { pc.RefuseService("Kestrel", test::FakeServiceCall::Open, ERROR_ACCESS_DENIED); },
         true,
         "Kestrel",
         false,
         {},
         {"Access is denied.\r\n"}},
    };
    for (const Case& c : cases) {
        test::FakePlatform platform;
        SetUpServices(platform.Computer("PC1"));
        if (c.setUp)
            c.setUp(platform.Computer("PC1"));
        test::ScriptedMessageBoxService boxes;
        RemoteServices services(platform, "PC1", boxes, writeErrorShown_);
        ASSERT_TRUE(services.OpenManager());
        platform.Log().Clear();
        EXPECT_EQ(c.start ? services.StartRemoteService(c.service) : services.StopRemoteService(c.service), c.done)
            << c.name;
        EXPECT_EQ(Controlled(platform), c.controlled) << c.name;
        EXPECT_EQ(Texts(boxes), c.texts) << c.name;
        for (const auto& box : boxes.Boxes())
            EXPECT_EQ(box.icon, MessageIcon::None);
    }
}

TEST_F(RemoteServicesTest, StartupTypeReadAndWrittenThroughTheRegistry) {
    const ProductDef locked = Product("Locked", "System\\CurrentControlSet\\Services\\Locked");
    const ProductDef missing = Product("Missing", "System\\CurrentControlSet\\Services\\Missing");
    Pc().Service("Locked", SERVICE_STOPPED, kStartDisabled);
    Pc().Key(Hive::LocalMachine, locked.ServicePath).RefuseWrite();
    auto services = Open();
    EXPECT_EQ(services->ReadStartupType(kKestrel), kStartManual);
    EXPECT_EQ(services->ReadStartupType(missing), 0u);

    EXPECT_TRUE(services->WriteStartupType(kKestrel, kStartDisabled));
    EXPECT_EQ(services->ReadStartupType(kKestrel), kStartDisabled);
    EXPECT_EQ(Pc().Value(Hive::LocalMachine, kKestrel.ServicePath, "Start")->type, REG_DWORD);

    // The write error is told once in the program's run, whichever service.
    EXPECT_FALSE(services->WriteStartupType(locked, kStartManual));
    EXPECT_FALSE(services->WriteStartupType(missing, kStartManual));
    EXPECT_EQ(Texts(boxes_), std::vector<std::string>{"Error: Access is denied.\r\n"});
    EXPECT_FALSE(Open()->WriteStartupType(locked, kStartManual));
    EXPECT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(services->ReadStartupType(locked), kStartDisabled);

    // A registry that cannot be reached is not told.
    test::ScriptedMessageBoxService quiet;
    std::atomic<bool> freshFlag{false};
    Pc().FailConnect(ERROR_ACCESS_DENIED);
    RemoteServices unreachable(platform_, "PC1", quiet, freshFlag);
    EXPECT_FALSE(unreachable.WriteStartupType(kKestrel, kStartManual));
    EXPECT_EQ(unreachable.ReadStartupType(kKestrel), 0u);
    EXPECT_TRUE(quiet.Boxes().empty());
}

}  // namespace
}  // namespace vn

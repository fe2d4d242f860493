#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "catalogue/ProductCatalogue.h"
#include "inventory/FailingRegistry.h"
#include "inventory/InventoryPersistence.h"
#include "inventory/InventoryTreeBuilder.h"
#include "platform/RegistryValues.h"
#include "platform/local/hive/SqliteRegistry.h"

namespace vn {
namespace {

using test::AddComputer;
using test::AddFolder;
using test::ChildTexts;
using Texts = std::vector<std::string>;

// Each test works on a fresh current-user hive file of the real local registry.
class InventoryPersistenceTest : public ::testing::Test {
protected:
    InventoryPersistenceTest() {
        std::string pattern = (std::filesystem::temp_directory_path() / "vn-inventory-XXXXXX").string();
        directory_ = mkdtemp(pattern.data());
        registry = std::make_unique<SqliteRegistry>(
            HivePaths{(directory_ / "user.db").string(), (directory_ / "machine.db").string()});
        for (const char* name : {"Vantor", "Kestrel"}) {
            auto product = std::make_unique<ProductDef>(test::MakeProduct(name, ""));
            catalogue.AddUnique(std::move(product));
        }
        vantor = catalogue.FindByName("Vantor");
        kestrel = catalogue.FindByName("Kestrel");
    }
    ~InventoryPersistenceTest() override {
        registry.reset();
        std::filesystem::remove_all(directory_);
    }

    std::string DirectoryFile(const std::string& name) const { return (directory_ / name).string(); }

    // A key below the stored tree's root, or null.
    RegistryKeyPtr StoredKey(std::string_view path) {
        RegistryKeyPtr hive;
        RegistryKeyPtr key;
        EXPECT_EQ(registry->Connect("", Hive::CurrentUser, hive), ERROR_SUCCESS);
        std::string full(kInventoryRootKey);
        if (!path.empty())
            full += "\\" + std::string(path);
        if (hive->OpenKey(full, KEY_READ, key) != ERROR_SUCCESS)
            return nullptr;
        return key;
    }
    RegistryKeyPtr CreateStoredKey(std::string_view path) {
        RegistryKeyPtr hive;
        RegistryKeyPtr key;
        EXPECT_EQ(registry->Connect("", Hive::CurrentUser, hive), ERROR_SUCCESS);
        EXPECT_EQ(hive->CreateKey(std::string(kInventoryRootKey) + "\\" + std::string(path), KEY_ALL_ACCESS, key),
                  ERROR_SUCCESS);
        return key;
    }
    static Texts SubKeys(RegistryKey& key) {
        Texts names;
        std::string name;
        for (std::uint32_t i = 0; key.EnumKey(i, name) == ERROR_SUCCESS; ++i)
            names.push_back(name);
        return names;
    }
    static std::uint32_t Dword(RegistryKey& key, std::string_view name) {
        std::uint32_t value = 0xDEAD;
        EXPECT_EQ(QueryDwordValue(key, name, value, REG_DWORD), ERROR_SUCCESS) << name;
        return value;
    }

    std::unique_ptr<SqliteRegistry> registry;
    ProductCatalogue catalogue;
    const ProductDef* vantor = nullptr;
    const ProductDef* kestrel = nullptr;
    InventoryModel model;

private:
    std::filesystem::path directory_;
};

TEST_F(InventoryPersistenceTest, StoresOneKeyPerNodeWithItsValues) {
    FolderNode* lab = AddFolder(model, nullptr, "Lab");
    model.SetExpanded(lab, true);
    ComputerRecord* pc1 = AddComputer(model, lab, "pc1", {vantor});
    pc1->Description = "desk";
    pc1->LastKnownIP = 0xC0A80001;
    pc1->IsServer = 1;
    AddFolder(model, lab, "Closed");

    ASSERT_TRUE(SaveInventory(model, *registry));

    auto root = StoredKey("");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(SubKeys(*root), (Texts{"Lab"}));
    auto labKey = StoredKey("Lab");
    EXPECT_EQ(Dword(*labKey, ""), 1u);
    EXPECT_EQ(Dword(*labKey, "Expanded"), 1u);
    EXPECT_EQ(Dword(*StoredKey("Lab\\Closed"), "Expanded"), 0u);

    auto pcKey = StoredKey("Lab\\pc1");
    ASSERT_NE(pcKey, nullptr);
    EXPECT_EQ(Dword(*pcKey, ""), 0u);
    EXPECT_EQ(Dword(*pcKey, "LastKnownIP"), 0xC0A80001u);
    EXPECT_EQ(Dword(*pcKey, "IsServer"), 1u);
    EXPECT_EQ(Dword(*pcKey, "HasError"), 0u);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(pcKey->QueryValue("Description", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 5u);  // "desk" and its zero
    ASSERT_EQ(pcKey->QueryValue("ErrorString", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 1u);  // empty texts are written too
    EXPECT_EQ(SubKeys(*pcKey), (Texts{"Installed Products"}));
    EXPECT_NE(StoredKey("Lab\\pc1\\Installed Products\\Vantor"), nullptr);
}

TEST_F(InventoryPersistenceTest, TreeComesBackAsSaved) {
    FolderNode* lab = AddFolder(model, nullptr, "Lab");
    FolderNode* inner = AddFolder(model, lab, "Inner");
    model.SetExpanded(inner, true);
    ComputerRecord* pc = AddComputer(model, inner, "PC-7", {vantor, kestrel});
    pc->OSVersion = "Windows 2000 Server 5.0";
    pc->Description = "mail";
    pc->ErrorString = "The network path was not found.\r\n";
    pc->HasError = 1;
    pc->LastKnownIP = 0x0A000007;
    AddComputer(model, nullptr, "top");
    ASSERT_TRUE(SaveInventory(model, *registry));

    InventoryModel loaded;
    ASSERT_TRUE(LoadInventory(loaded, *registry, catalogue));

    ASSERT_EQ(ChildTexts(loaded, nullptr), (Texts{"Lab", "top"}));
    auto* loadedLab = static_cast<FolderNode*>(loaded.ChildrenOf(nullptr).front());
    auto* loadedInner = static_cast<FolderNode*>(loaded.ChildrenOf(loadedLab).front());
    EXPECT_FALSE(loaded.IsExpanded(loadedLab));
    EXPECT_TRUE(loaded.IsExpanded(loadedInner));
    ASSERT_EQ(ChildTexts(loaded, loadedInner), (Texts{"PC-7"}));
    const auto& copy = static_cast<const ComputerRecord&>(*loaded.ChildrenOf(loadedInner).front());
    EXPECT_EQ(copy.OSVersion, pc->OSVersion);
    EXPECT_EQ(copy.Description, "mail");
    EXPECT_EQ(copy.ErrorString, pc->ErrorString);
    EXPECT_EQ(copy.HasError, 1);
    EXPECT_EQ(copy.LastKnownIP, 0x0A000007u);
    // The hive lists products by name; the record keeps catalogue order.
    EXPECT_EQ(copy.InstalledProducts, (std::vector<const ProductDef*>{vantor, kestrel}));
}

TEST_F(InventoryPersistenceTest, SavingReplacesTheStoredTree) {
    AddComputer(model, nullptr, "old");
    ASSERT_TRUE(SaveInventory(model, *registry));
    InventoryModel empty;
    ASSERT_TRUE(SaveInventory(empty, *registry));
    auto root = StoredKey("");
    ASSERT_NE(root, nullptr);
    EXPECT_TRUE(SubKeys(*root).empty());
}

TEST_F(InventoryPersistenceTest, FailedSaveKeepsThePreviousTreeWhole) {
    FolderNode* lab = AddFolder(model, nullptr, "Lab");
    AddComputer(model, lab, "keep1", {vantor});
    AddComputer(model, lab, "keep2");
    ASSERT_TRUE(SaveInventory(model, *registry));

    InventoryModel changed;
    FolderNode* other = AddFolder(changed, nullptr, "Other");
    for (const char* name : {"n1", "n2", "n3"})
        AddComputer(changed, other, name);
    // Fails in the middle of the second computer.
    test::FailingRegistry failing(*registry, 12);
    SaveProblems problems;
    EXPECT_FALSE(SaveInventory(changed, failing, &problems));
    EXPECT_EQ(problems.writeFailure, 112u);  // the failing write's status
    EXPECT_GE(failing.WritesSeen(), 12);

    InventoryModel loaded;
    ASSERT_TRUE(LoadInventory(loaded, *registry, catalogue));
    ASSERT_EQ(ChildTexts(loaded, nullptr), (Texts{"Lab"}));
    EXPECT_EQ(ChildTexts(loaded, static_cast<FolderNode*>(loaded.ChildrenOf(nullptr).front())),
              (Texts{"keep1", "keep2"}));
}

TEST_F(InventoryPersistenceTest, NamesTheRegistryCannotHoldAreLeftOutNotTheRest) {
    FolderNode* srv = AddFolder(model, nullptr, "srv");
    AddComputer(model, srv, "inside");
    AddComputer(model, nullptr, "SRV");  // would share the folder's key
    AddComputer(model, nullptr, "a\\b");
    AddComputer(model, nullptr, std::string(300, 'x'));
    AddComputer(model, nullptr, "fine");
    FolderNode* scan = AddFolder(model, srv, "CORP\\Sales");
    AddComputer(model, scan, "lost");
    AddComputer(model, AddFolder(model, srv, "sub"), "PC\\1");

    SaveProblems problems;
    EXPECT_FALSE(SaveInventory(model, *registry, &problems));
    EXPECT_EQ(problems.writeFailure, ERROR_SUCCESS);
    const std::string backslash = ": a name holding a backslash cannot be stored";
    EXPECT_EQ(problems.leftOut,
              (Texts{"the folder \"CORP\\Sales\" and everything in it in \"srv\"" + backslash,
                     "the computer \"PC\\1\" in \"srv/sub\"" + backslash, "the computer \"a\\b\"" + backslash,
                     "the computer \"SRV\": the folder of that name beside it keeps the name",
                     "the computer \"" + std::string(300, 'x') + "\": a name longer than 255 bytes cannot be stored"}));

    InventoryModel loaded;
    ASSERT_TRUE(LoadInventory(loaded, *registry, catalogue));
    EXPECT_EQ(ChildTexts(loaded, nullptr), (Texts{"srv", "fine"}));
    EXPECT_EQ(ChildTexts(loaded, static_cast<FolderNode*>(loaded.ChildrenOf(nullptr).front())),
              (Texts{"sub", "inside"}));
}

// The hive folds case beyond ASCII: "ä" and "Ä" are one key there, so the
// computer must not be written over the folder's key.
TEST_F(InventoryPersistenceTest, AComputerBesideAFolderOfItsNameInAnotherCaseLeavesTheFolderWhole) {
    FolderNode* sub = AddFolder(model, AddFolder(model, nullptr, "\u00C4"), "sub");
    AddComputer(model, sub, "pc1");
    AddComputer(model, nullptr, "\u00E4");

    EXPECT_FALSE(SaveInventory(model, *registry));  // the computer is left out

    InventoryModel loaded;
    ASSERT_TRUE(LoadInventory(loaded, *registry, catalogue));
    ASSERT_EQ(ChildTexts(loaded, nullptr), (Texts{"\u00C4"}));
    ASSERT_TRUE(loaded.ChildrenOf(nullptr).front()->IsFolder);
    auto* folder = static_cast<FolderNode*>(loaded.ChildrenOf(nullptr).front());
    ASSERT_EQ(ChildTexts(loaded, folder), (Texts{"sub"}));
    EXPECT_EQ(ChildTexts(loaded, static_cast<FolderNode*>(loaded.ChildrenOf(folder).front())), (Texts{"pc1"}));
}

TEST_F(InventoryPersistenceTest, ASaveOnlyIfUnchangedKeepsATreeSavedSinceByAnotherProgram) {
    EXPECT_EQ(ReadInventoryStamp(*registry), "");
    AddComputer(model, nullptr, "mine");
    EXPECT_EQ(SaveInventoryIfStampIs(model, *registry, ""), SaveResult::Complete);
    const std::string loaded = ReadInventoryStamp(*registry);
    EXPECT_NE(loaded, "");

    InventoryModel theirs;
    AddComputer(theirs, nullptr, "theirs");
    ASSERT_TRUE(SaveInventory(theirs, *registry));
    const std::string current = ReadInventoryStamp(*registry);
    EXPECT_NE(current, loaded);

    EXPECT_EQ(SaveInventoryIfStampIs(model, *registry, loaded), SaveResult::StoredTreeChanged);
    EXPECT_EQ(SubKeys(*StoredKey("")), (Texts{"theirs"}));
    EXPECT_EQ(SaveInventoryIfStampIs(model, *registry, current), SaveResult::Complete);
    EXPECT_EQ(SubKeys(*StoredKey("")), (Texts{"mine"}));
}

// A save that starts while another program is in the middle of its own waits
// for it and then replaces that program's tree whole; it must not find the
// old tree's key gone and write into the new tree instead.
TEST_F(InventoryPersistenceTest, ASaveWaitingForAnotherProgramsSaveReplacesItsTreeWhole) {
    FolderNode* dup = AddFolder(model, nullptr, "dup");
    for (const char* name : {"a1", "a2"})
        AddComputer(model, dup, name);
    AddComputer(model, nullptr, "first");
    ASSERT_TRUE(SaveInventory(model, *registry));

    // The other program: its save is written but not yet committed.
    SqliteRegistry other(HivePaths{DirectoryFile("user.db"), DirectoryFile("machine.db")});
    RegistryKeyPtr otherHive;
    ASSERT_EQ(other.Connect("", Hive::CurrentUser, otherHive), ERROR_SUCCESS);
    auto otherGroup = otherHive->BeginWriteGroup();
    InventoryModel theirs;
    AddComputer(theirs, nullptr, "dup");
    AddComputer(theirs, nullptr, "b1");
    ASSERT_TRUE(SaveInventory(theirs, other));

    std::thread ours([&] { EXPECT_TRUE(SaveInventory(model, *registry)); });
    // Only orders the two: ours has begun and waits for the other's commit.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_EQ(otherGroup->Commit(), ERROR_SUCCESS);
    ours.join();

    InventoryModel loaded;
    ASSERT_TRUE(LoadInventory(loaded, *registry, catalogue));
    ASSERT_EQ(ChildTexts(loaded, nullptr), (Texts{"dup", "first"}));
    EXPECT_TRUE(loaded.ChildrenOf(nullptr).front()->IsFolder);
    EXPECT_EQ(ChildTexts(loaded, static_cast<FolderNode*>(loaded.ChildrenOf(nullptr).front())), (Texts{"a1", "a2"}));
}

TEST_F(InventoryPersistenceTest, MissingRootLoadsNothing) {
    EXPECT_FALSE(LoadInventory(model, *registry, catalogue));
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(InventoryPersistenceTest, OddStoredValuesFallBackToDefaults) {
    auto pc = CreateStoredKey("pc1");
    ASSERT_EQ(SetDwordValue(*pc, "", 0), ERROR_SUCCESS);
    ASSERT_EQ(SetStringValue(*pc, "HasError", "1"), ERROR_SUCCESS);  // wrong type: ignored
    ASSERT_EQ(SetDwordValue(*pc, "Description", 7), ERROR_SUCCESS);  // wrong type: ignored
    ASSERT_EQ(SetDwordValue(*pc, "IsServer", 1), ERROR_SUCCESS);
    CreateStoredKey("pc1\\Installed Products\\Gone Product");
    CreateStoredKey("pc1\\Installed Products\\KESTREL");
    auto folder = CreateStoredKey("Sales");
    ASSERT_EQ(SetDwordValue(*folder, "", 1), ERROR_SUCCESS);  // no "Expanded": collapsed

    ASSERT_TRUE(LoadInventory(model, *registry, catalogue));

    ASSERT_EQ(ChildTexts(model, nullptr), (Texts{"Sales", "pc1"}));
    EXPECT_FALSE(model.IsExpanded(static_cast<FolderNode*>(model.ChildrenOf(nullptr)[0])));
    const auto& pc1 = static_cast<const ComputerRecord&>(*model.ChildrenOf(nullptr)[1]);
    EXPECT_EQ(pc1.HasError, 0);
    EXPECT_EQ(pc1.IsServer, 1);
    EXPECT_EQ(pc1.Description, "");
    EXPECT_EQ(pc1.ErrorString, "");
    EXPECT_EQ(pc1.InstalledProducts, (std::vector<const ProductDef*>{kestrel}));
}

TEST_F(InventoryPersistenceTest, UnreadableNodeEndsTheLoadKeepingWhatCameBefore) {
    ASSERT_EQ(SetDwordValue(*CreateStoredKey("a"), "", 0), ERROR_SUCCESS);
    CreateStoredKey("b");  // no default value
    ASSERT_EQ(SetDwordValue(*CreateStoredKey("c"), "", 0), ERROR_SUCCESS);
    const std::uint8_t tooLong[8] = {1};
    ASSERT_EQ(CreateStoredKey("z")->SetValue("", REG_BINARY, tooLong, sizeof tooLong), ERROR_SUCCESS);

    EXPECT_FALSE(LoadInventory(model, *registry, catalogue));
    EXPECT_EQ(ChildTexts(model, nullptr), (Texts{"a"}));

    CreateStoredKey("b");
    ASSERT_EQ(SetDwordValue(*CreateStoredKey("b"), "", 0), ERROR_SUCCESS);
    InventoryModel second;
    EXPECT_FALSE(LoadInventory(second, *registry, catalogue));  // now z stops it
    EXPECT_EQ(ChildTexts(second, nullptr), (Texts{"a", "b", "c"}));
}

// A registry without a one-pass read, failing part-way: what was read is
// shown as far as it was read, and the load says it is incomplete.
TEST_F(InventoryPersistenceTest, AReadFailingPartWayShowsWhatItRead) {
    FolderNode* sales = AddFolder(model, nullptr, "Sales");
    model.SetExpanded(sales, true);
    AddComputer(model, sales, "pc1", {vantor})->Description = "first";
    AddComputer(model, nullptr, "zeta");  // listed after Sales: never reached
    ASSERT_TRUE(SaveInventory(model, *registry));

    test::FailingRegistry failing(*registry, 1000);
    failing.FailListingBelow("pc1");
    InventoryModel loaded;
    EXPECT_FALSE(LoadInventory(loaded, failing, catalogue));
    ASSERT_EQ(ChildTexts(loaded, nullptr), (Texts{"Sales"}));
    auto* folder = static_cast<FolderNode*>(loaded.ChildrenOf(nullptr).front());
    EXPECT_TRUE(loaded.IsExpanded(folder));
    ASSERT_EQ(ChildTexts(loaded, folder), (Texts{"pc1"}));
    const auto& pc1 = static_cast<const ComputerRecord&>(*loaded.ChildrenOf(folder).front());
    EXPECT_EQ(pc1.Description, "first");
    EXPECT_TRUE(pc1.InstalledProducts.empty());
}

TEST_F(InventoryPersistenceTest, LoadedNodesMergeWithThoseAlreadyInTheTree) {
    ASSERT_EQ(SetDwordValue(*CreateStoredKey("pc1"), "", 0), ERROR_SUCCESS);
    ComputerRecord* existing = AddComputer(model, nullptr, "PC1");
    existing->Description = "before";
    ASSERT_TRUE(LoadInventory(model, *registry, catalogue));
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(existing->Description, "");
    EXPECT_EQ(existing->Name, "pc1");
}

}  // namespace
}  // namespace vn

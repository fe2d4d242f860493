#include <gtest/gtest.h>

#include "catalogue/ProductCatalogue.h"
#include "inventory/FolderSummary.h"
#include "inventory/InventoryQueries.h"
#include "inventory/InventoryTreeBuilder.h"

namespace vn {
namespace {

using test::AddComputer;
using test::AddFolder;

std::vector<std::string> NamesOf(const std::vector<ComputerRecord*>& computers) {
    std::vector<std::string> names;
    names.reserve(computers.size());
    for (const ComputerRecord* computer : computers)
        names.push_back(computer->Name);
    return names;
}

class InventoryQueriesTest : public ::testing::Test {
protected:
    InventoryQueriesTest() {
        catalogue.AddUnique(
            std::make_unique<ProductDef>(test::MakeProduct("Vantor", "System\\CurrentControlSet\\Services\\Vantor")));
        catalogue.AddUnique(
            std::make_unique<ProductDef>(test::MakeProduct("Kestrel", "System\\CurrentControlSet\\Services\\Kestrel")));
        catalogue.AddUnique(std::make_unique<ProductDef>(test::MakeProduct("Viewer", "Software\\Viewer")));
        vantor = catalogue.FindByName("Vantor");
        viewer = catalogue.FindByName("Viewer");

        office = AddFolder(model, nullptr, "Office");
        floor = AddFolder(model, office, "Floor");
        AddComputer(model, floor, "f2", {vantor});
        AddComputer(model, floor, "f1");
        AddComputer(model, office, "desk");
        AddComputer(model, nullptr, "loose");
    }

    ProductCatalogue catalogue;
    const ProductDef* vantor = nullptr;
    const ProductDef* viewer = nullptr;
    InventoryModel model;
    FolderNode* office = nullptr;
    FolderNode* floor = nullptr;
};

TEST_F(InventoryQueriesTest, CollectComputersListsTheSubtreeInTreeOrder) {
    std::vector<ComputerRecord*> list;
    CollectComputers(model, office, list);
    EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"f1", "f2", "desk"}));
    list.clear();
    CollectComputers(model, nullptr, list);
    EXPECT_EQ(NamesOf(list), (std::vector<std::string>{"f1", "f2", "desk", "loose"}));
}

TEST_F(InventoryQueriesTest, SelectionIsCollectedParentsFirstAndClassified) {
    std::vector<InventoryNode*> selected;
    CollectSelected(
        model, [](const InventoryNode& node) { return node.Name != "f2" && node.Name != "Office"; }, selected);
    ASSERT_EQ(selected.size(), 4u);
    EXPECT_EQ(selected[0], floor);
    EXPECT_EQ(selected[1]->Name, "f1");
    EXPECT_EQ(selected[3]->Name, "loose");
    EXPECT_EQ(SelectionKind(selected), SelectionKindResult::Mixed);
    EXPECT_EQ(SelectionKind({office, floor}), SelectionKindResult::AllFolders);
    EXPECT_EQ(SelectionKind({selected[1], selected[2]}), SelectionKindResult::AllComputers);
    EXPECT_EQ(SelectionKind({}), SelectionKindResult::None);
}

TEST_F(InventoryQueriesTest, ServiceProductsAreThoseUnderTheServicesKey) {
    ComputerRecord computer("pc");
    EXPECT_FALSE(HasServiceProduct(computer));
    computer.InstalledProducts = {viewer};
    EXPECT_FALSE(HasServiceProduct(computer));
    computer.InstalledProducts = {viewer, vantor};
    EXPECT_TRUE(HasServiceProduct(computer));
}

TEST_F(InventoryQueriesTest, SummaryCountsTheWholeSubtree) {
    FolderSummary summary(catalogue);
    SummarizeFolder(*office, summary);
    EXPECT_EQ(summary.Folders, 1);
    EXPECT_EQ(summary.Computers, 3);
    EXPECT_EQ(summary.CountOf(vantor), 1);
    EXPECT_EQ(summary.CountOf(catalogue.FindByName("Kestrel")), 0);
    ASSERT_EQ(summary.ProductCounts.size(), 3u);
    EXPECT_EQ(summary.ProductCounts[0].first, vantor);

    // A second walk adds up; Reset starts over.
    SummarizeFolder(*floor, summary);
    EXPECT_EQ(summary.Computers, 5);
    summary.Reset();
    EXPECT_EQ(summary.Computers, 0);
    EXPECT_EQ(summary.CountOf(vantor), 0);
}

}  // namespace
}  // namespace vn

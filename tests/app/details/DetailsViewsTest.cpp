#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

#include "FakeMainWindowContext.h"
#include "app/context/CommandIds.h"
#include "app/details/CDescriptionBlank.h"
#include "app/details/CDescriptionComputer.h"
#include "app/details/CDescriptionError.h"
#include "app/details/CDescriptionFolder.h"
#include "app/details/DetailsPane.h"
#include "inventory/InventoryTreeBuilder.h"
#include "pictures/PictureIds.h"
#include "pictures/ResourceIcon.h"
#include "ui/HyperlinkLabel.h"

namespace vn {
namespace {

QImage PictureOf(const DescriptionView& view) { return view.Picture()->pixmap().toImage(); }

QImage Resource(int id) { return ResourceIcon(id).pixmap(32, 32).toImage(); }

class DetailsTest : public testing::Test {
protected:
    // Products added to the catalogue beyond the two built in.
    const ProductDef* Product(const std::string& name) {
        auto product = std::make_unique<ProductDef>(test::MakeProduct(name, "Software\\" + name));
        const ProductDef* raw = product.get();
        context.catalogue.AddUnique(std::move(product));
        return raw;
    }

    test::FakeMainWindowContext context;
};

TEST_F(DetailsTest, KeyFollowsTheNodeKindAndTheTree) {
    FolderNode* folder = test::AddFolder(context.model, nullptr, "Office");
    ComputerRecord* good = test::AddComputer(context.model, nullptr, "pc1");
    ComputerRecord* failed = test::AddComputer(context.model, nullptr, "pc2");
    failed->HasError = 1;
    EXPECT_EQ(DetailsPane::KeyFor(folder, true), details::kFolder);
    EXPECT_EQ(DetailsPane::KeyFor(good, true), details::kComputer);
    EXPECT_EQ(DetailsPane::KeyFor(failed, true), details::kError);
    EXPECT_EQ(DetailsPane::KeyFor(nullptr, true), details::kNoSelection);
    EXPECT_EQ(DetailsPane::KeyFor(nullptr, false), details::kBlank);
}

TEST_F(DetailsTest, PaneStartsBlankAndShowsTheViewForTheSelection) {
    DetailsPane pane(context);
    EXPECT_EQ(pane.CurrentKey(), details::kBlank);
    pane.ShowSelection(nullptr);
    EXPECT_EQ(pane.CurrentKey(), details::kBlank);

    ComputerRecord* failed = test::AddComputer(context.model, nullptr, "pc2");
    failed->HasError = 1;
    failed->ErrorString = "The network path was not found.\r\n";
    pane.ShowSelection(failed);
    EXPECT_EQ(pane.CurrentKey(), details::kError);
    EXPECT_EQ(pane.View(details::kError)->Node(), failed);
    EXPECT_EQ(pane.View(details::kComputer)->Node(), nullptr);
    pane.ShowSelection(nullptr);
    EXPECT_EQ(pane.CurrentKey(), details::kNoSelection);

    // ShowNode hands the node over without switching; null is ignored.
    pane.ShowNode(test::AddFolder(context.model, nullptr, "Office"));
    pane.ShowNode(nullptr);
    EXPECT_EQ(pane.CurrentKey(), details::kNoSelection);
    EXPECT_NE(pane.View(details::kFolder)->Node(), nullptr);
    pane.ShowView(details::kComputer2);
    EXPECT_EQ(pane.CurrentKey(), details::kComputer2);
    pane.ShowView(99);
    EXPECT_EQ(pane.CurrentKey(), details::kComputer2);
}

TEST_F(DetailsTest, ButtonsAndLinksSendTheirCommands) {
    DetailsPane pane(context);
    static_cast<CDescriptionBlank*>(pane.View(details::kBlank))->ScanButton()->click();
    pane.View(details::kComputer)->findChild<QPushButton*>(QStringLiteral("rescan"))->click();
    auto* link = pane.View(details::kFolder)->findChild<HyperlinkLabel*>(QStringLiteral("detectsLink"));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(ControlIdOf(link), 1121);
    link->Activate();
    EXPECT_EQ(context.sentCommands, (std::vector<int>{cmd::kScan, cmd::kRescan, cmd::kWhatNetwardenDetects}));
    EXPECT_EQ(ControlIdOf(pane.View(details::kBlank)->findChild<HyperlinkLabel*>(QStringLiteral("detectsLink"))), 1126);
}

TEST_F(DetailsTest, ComputerViewShowsItsValuesAndSizesTheProductBox) {
    CDescriptionComputer view;
    ComputerRecord* pc = test::AddComputer(context.model, nullptr, "pc1", {&context.catalogue.at(0)});
    pc->Description = "Front desk";
    pc->OSVersion = "Windows 10";
    pc->LastKnownIP = 0x0A000105;
    view.ShowNode(*pc);
    EXPECT_EQ(view.Title()->text(), "pc1");
    EXPECT_EQ(view.Description()->text(), "Front desk");
    EXPECT_EQ(view.OsVersion()->text(), "Windows 10");
    EXPECT_EQ(view.IpAddress()->text(), "10.0.1.5");
    EXPECT_TRUE(view.IpAddress()->font().bold());
    EXPECT_EQ(PictureOf(view), Resource(picture::kWorkstation));
    // One product: the box keeps its least height, 84 to 160.
    EXPECT_EQ(view.ProductBox()->geometry().top(), 84);
    EXPECT_EQ(view.ProductBox()->geometry().height(), 76);
    ASSERT_EQ(view.ProductRows().size(), 2u);
    EXPECT_EQ(view.ProductRows()[0]->geometry(), QRect(24, 104, 16, 16));
    EXPECT_EQ(view.ProductRows()[1]->text(), "Vantor");
    EXPECT_EQ(view.ProductRows()[1]->x(), 44);
    auto* rescan = view.findChild<QPushButton*>(QStringLiteral("rescan"));
    EXPECT_EQ(rescan->geometry(), QRect(4, 168, 90, 22));
    EXPECT_EQ(view.findChild<HyperlinkLabel*>(QStringLiteral("detectsLink"))->y(), 195);

    pc->InstalledProducts = {&context.catalogue.at(0), &context.catalogue.at(1), Product("Farview")};
    pc->IsServer = 1;
    pc->LastKnownIP = 0;
    view.ShowNode(*pc);
    EXPECT_EQ(view.ProductBox()->geometry().bottom() + 1, 184);
    EXPECT_EQ(view.ProductRows().size(), 6u);
    EXPECT_EQ(view.ProductRows()[5]->text(), "Farview");
    EXPECT_EQ(view.ProductRows()[5]->y(), 144);
    EXPECT_EQ(view.IpAddress()->text(), "");
    EXPECT_EQ(PictureOf(view), Resource(picture::kServer));

    pc->InstalledProducts.clear();
    view.ShowNode(*pc);
    ASSERT_EQ(view.ProductRows().size(), 1u);
    EXPECT_EQ(view.ProductRows()[0]->text(), "None of the known products have been found on this computer.");
    EXPECT_EQ(view.ProductRows()[0]->pos(), QPoint(44, 104));
    EXPECT_EQ(view.ProductBox()->geometry().height(), 76);
}

TEST_F(DetailsTest, ProductBoxRunsAcrossTheViewLessFourPixelsEachSide) {
    CDescriptionComputer view;
    view.resize(500, 300);
    view.show();
    EXPECT_EQ(view.ProductBox()->geometry().left(), 4);
    EXPECT_EQ(view.ProductBox()->width(), view.viewport()->width() - 8);
}

TEST_F(DetailsTest, ErrorViewChoosesTheAccessDeniedPictureFromTheText) {
    CDescriptionError view;
    ComputerRecord* pc = test::AddComputer(context.model, nullptr, "pc7");
    pc->HasError = 1;
    pc->ErrorString = "Access is denied.\r\n";
    view.ShowNode(*pc);
    EXPECT_EQ(view.Title()->text(), "pc7");
    EXPECT_EQ(view.ErrorText(), "Failed to connect to computer \"pc7\".\r\nAccess is denied.\r\n");
    EXPECT_TRUE(view.ShowsAccessDenied());
    EXPECT_EQ(PictureOf(view), Resource(picture::kAccessDenied));

    pc->ErrorString = "The network path was not found.\r\n";
    view.ShowNode(*pc);
    EXPECT_FALSE(view.ShowsAccessDenied());
    EXPECT_EQ(PictureOf(view), view.style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(32, 32).toImage());
    // The test is case-sensitive, as the system writes the word.
    pc->ErrorString = "access is denied.";
    view.ShowNode(*pc);
    EXPECT_FALSE(view.ShowsAccessDenied());
}

// Texts wider than their designed places, as with wide desktop fonts: the
// values run to the view's edge and the count columns move right of the
// longest caption.
TEST_F(DetailsTest, LongTextsAreNotCutShort) {
    CDescriptionComputer computerView;
    computerView.resize(600, 300);
    computerView.show();
    ComputerRecord* pc = test::AddComputer(context.model, nullptr, "pc1");
    pc->OSVersion = "Windows NT Advanced Server v10.0 with a long name";
    computerView.ShowNode(*pc);
    QLabel* os = computerView.OsVersion();
    EXPECT_GE(os->width(), os->fontMetrics().horizontalAdvance(os->text()));
    EXPECT_LE(os->geometry().right(), computerView.viewport()->width());

    const ProductDef* longName = Product("A remote-access product with a long name");
    CDescriptionFolder folderView(context.catalogue);
    FolderNode* site = test::AddFolder(context.model, nullptr, "Site");
    test::AddComputer(context.model, site, "site1", {&context.catalogue.at(0), longName});
    folderView.ShowNode(*site);
    ASSERT_EQ(folderView.StatisticsRows().size(), 6u);
    for (std::size_t row = 1; row < 6; row += 3) {
        const QLabel* name = folderView.StatisticsRows()[row];
        EXPECT_GE(name->width(), name->fontMetrics().horizontalAdvance(name->text()));
        EXPECT_EQ(folderView.StatisticsRows()[row + 1]->x(), name->geometry().right() + 1);
    }
    EXPECT_GT(folderView.StatisticsRows()[2]->x(), 204);
    const auto captions = folderView.Form()->findChildren<QLabel*>();
    for (const QLabel* caption : captions) {
        if (caption->text() == QStringLiteral("Number of computers in this folder:")) {
            EXPECT_LT(caption->x() + caption->fontMetrics().horizontalAdvance(caption->text()),
                      folderView.ComputerCount()->x());
        }
    }
}

TEST_F(DetailsTest, FolderViewCountsTheWholeSubtreeAndListsProductsInUse) {
    const ProductDef* farview = Product("Farview");
    Product("Unused");
    CDescriptionFolder view(context.catalogue);
    FolderNode* site = test::AddFolder(context.model, nullptr, "Site");
    FolderNode* lab = test::AddFolder(context.model, site, "Lab");
    test::AddFolder(context.model, lab, "Empty");
    test::AddComputer(context.model, lab, "lab1", {&context.catalogue.at(0), farview});
    test::AddComputer(context.model, site, "site1", {&context.catalogue.at(0)});
    test::AddComputer(context.model, site, "site2");

    view.ShowNode(*site);
    EXPECT_EQ(view.Title()->text(), "Site");
    EXPECT_EQ(view.ComputerCount()->text(), "3");
    EXPECT_EQ(view.FolderCount()->text(), "2");
    EXPECT_EQ(PictureOf(view), Resource(picture::kFolder));
    // Vantor on two computers, Farview on one; Kestrel and Unused not listed.
    ASSERT_EQ(view.StatisticsRows().size(), 6u);
    EXPECT_EQ(view.StatisticsRows()[1]->text(), "Vantor: ");
    EXPECT_EQ(view.StatisticsRows()[2]->text(), "2");
    EXPECT_EQ(view.StatisticsRows()[2]->x(), 204);
    EXPECT_EQ(view.StatisticsRows()[4]->text(), "Farview: ");
    EXPECT_EQ(view.StatisticsRows()[4]->y(), 187);
    EXPECT_EQ(view.StatisticsBox()->geometry().top(), 147);
    EXPECT_EQ(view.StatisticsBox()->geometry().bottom() + 1, 227);

    // Shown again, the counts start from zero.
    view.ShowNode(*lab);
    EXPECT_EQ(view.ComputerCount()->text(), "1");
    EXPECT_EQ(view.FolderCount()->text(), "1");
    EXPECT_EQ(view.StatisticsRows().size(), 6u);
    EXPECT_EQ(view.StatisticsBox()->geometry().bottom() + 1, 227);
}

TEST_F(DetailsTest, FolderWithoutProductsHasAnEmptyStatisticsBox) {
    CDescriptionFolder view(context.catalogue);
    FolderNode* office = test::AddFolder(context.model, nullptr, "Office");
    test::AddComputer(context.model, office, "pc1");
    view.ShowNode(*office);
    EXPECT_TRUE(view.StatisticsRows().empty());
    EXPECT_EQ(view.StatisticsBox()->geometry().bottom() + 1, 227);
    EXPECT_EQ(view.findChild<QPushButton*>(QStringLiteral("rescan"))->y(), 235);
}

TEST_F(DetailsTest, TitleTakesTheRoomThereIsAndIsShortenedOnlyBeyondIt) {
    CDescriptionComputer view;
    view.resize(600, 300);
    view.show();
    const QLabel& title = *view.Title();
    EXPECT_EQ(title.width(), view.Form()->width() - title.x() - 10);
    // Longer than the designed title width (320 - 52 - 10), short of the room at 600.
    QString fits = QStringLiteral("W");
    while (title.fontMetrics().horizontalAdvance(fits) <= 258)
        fits += QLatin1Char('W');
    ComputerRecord* pc = test::AddComputer(context.model, nullptr, fits.toStdString());
    view.ShowNode(*pc);
    EXPECT_EQ(title.text(), fits);
    EXPECT_TRUE(title.toolTip().isEmpty());

    const QString tooLong = fits.repeated(4);
    pc->Name = tooLong.toStdString();
    view.ShowNode(*pc);
    EXPECT_EQ(view.TitleText(), tooLong);
    EXPECT_TRUE(title.text().endsWith(QChar(0x2026))) << title.text().toStdString();
    EXPECT_LE(title.fontMetrics().horizontalAdvance(title.text()), title.width());
    EXPECT_EQ(title.toolTip(), tooLong);
    view.resize(2000, 300);
    EXPECT_EQ(title.text(), tooLong);
}

TEST_F(DetailsTest, AnotherNodeIsShownFromTheTopARefreshStaysWhereItWas) {
    DetailsPane pane(context);
    pane.resize(300, 120);  // shorter than any view: they scroll
    pane.show();
    FolderNode* first = test::AddFolder(context.model, nullptr, "First");
    FolderNode* second = test::AddFolder(context.model, nullptr, "Second");
    pane.ShowSelection(first);
    QScrollBar* bar = pane.View(details::kFolder)->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->maximum());
    pane.ShowSelection(first);
    EXPECT_EQ(bar->value(), bar->maximum());
    pane.ShowSelection(second);
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(bar->maximum());
    pane.ShowSelection(nullptr);
    pane.ShowSelection(second);
    EXPECT_EQ(bar->value(), 0);
}

TEST_F(DetailsTest, BlankViewTextFollowsTheWidthWhenWide) {
    CDescriptionBlank view;
    EXPECT_EQ(view.Title()->text(), "Scan Network");
    view.resize(600, 300);
    view.show();
    EXPECT_EQ(view.Text()->geometry(), QRect(6, 60, 560, 40));
    view.resize(300, 300);
    EXPECT_EQ(view.Text()->geometry(), QRect(6, 60, 300, 40));
}

}  // namespace
}  // namespace vn

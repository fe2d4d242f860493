#include "app/details/CDescriptionFolder.h"

#include <QGroupBox>
#include <QLabel>
#include <algorithm>
#include <vector>

#include "catalogue/ProductDef.h"
#include "inventory/InventoryNode.h"
#include "pictures/PictureIds.h"
#include "pictures/ResourceIcon.h"

namespace vn {
namespace {

constexpr int kStripHeight = 55;
constexpr QSize kFormSize{320, 260};
constexpr int kBoxInset = 4;
constexpr int kCountsTop = 62;
constexpr int kCountsBottom = 140;
constexpr int kStatisticsTop = 147;
constexpr int kFirstRowY = 167;
constexpr int kRowHeight = 20;
constexpr int kIconX = 24;
constexpr int kNameX = 44;
constexpr int kCountX = 204;
constexpr int kEmptyStatisticsBottom = 227;
constexpr int kDetectsLinkControl = 1121;
constexpr int kCaptionGap = 6;

// The room a one-line label's text takes in its own font.
int CaptionWidth(const QLabel& label) { return label.fontMetrics().horizontalAdvance(label.text()); }

}  // namespace

CDescriptionFolder::CDescriptionFolder(const ProductCatalogue& catalogue, QWidget* parent)
    : DescriptionView(kStripHeight, kFormSize, parent),
      summary_(catalogue) {
    SetControlId(Title(), 1029);
    counts_ = new QGroupBox(QStringLiteral("Computers"), Form());
    QLabel* computersCaption = AddLabel(QStringLiteral("Number of computers in this folder:"), {});
    QLabel* foldersCaption = AddLabel(QStringLiteral("Number of folders this folder:"), {});
    // The counts stand at their designed column unless a caption, in the
    // font at hand, needs more room.
    const int countX = std::max(kCountX + 16, 16 + CaptionWidth(*computersCaption) + kCaptionGap);
    computersCaption->setGeometry(16, kCountsTop + 22, countX - 16, 16);
    foldersCaption->setGeometry(16, kCountsTop + 44, countX - 16, 16);
    computers_ = AddLabel({}, QRect(countX, kCountsTop + 22, 80, 16));
    folders_ = AddLabel({}, QRect(countX, kCountsTop + 44, 80, 16));
    computers_->setObjectName(QStringLiteral("computerCount"));
    folders_->setObjectName(QStringLiteral("folderCount"));
    SetControlId(computers_, 1039);
    SetControlId(folders_, 1040);

    statistics_ = new QGroupBox(QStringLiteral("Installation Statistics"), Form());
    statistics_->setObjectName(QStringLiteral("statisticsBox"));
    AddRescanButton();
    AddDetectsLink(kDetectsLinkControl);
    statisticsBottom_ = kEmptyStatisticsBottom;
    PlaceBoxes();
}

void CDescriptionFolder::ShowNode(const FolderNode& folder) {
    SetNode(&folder);
    SetTitle(QString::fromStdString(folder.Name));
    summary_.Reset();
    SummarizeFolder(folder, summary_);
    computers_->setText(QString::number(summary_.Computers));
    folders_->setText(QString::number(summary_.Folders));
    SetPicture(ResourceIcon(picture::kFolder));

    ClearRows();
    int y = kFirstRowY;
    int listed = 0;
    std::vector<QLabel*> names;
    std::vector<QLabel*> counts;
    for (const auto& [product, count] : summary_.ProductCounts) {
        if (count == 0)
            continue;
        auto* icon = new QLabel(Form());
        icon->setPixmap(product->Icon.pixmap(16, 16));
        icon->setGeometry(kIconX, y, 16, 16);
        rows_.push_back(icon);
        names.push_back(AddLabel(QString::fromStdString(product->DisplayName) + QStringLiteral(": "),
                                 QRect(kNameX, y, kCountX - kNameX, 16)));
        counts.push_back(AddLabel(QString::number(count), QRect(kCountX, y, 80, 16)));
        rows_.push_back(names.back());
        rows_.push_back(counts.back());
        y += kRowHeight;
        ++listed;
    }
    // One column of counts, moved right only as far as the longest name needs.
    int countX = kCountX;
    for (const QLabel* name : names)
        countX = std::max(countX, kNameX + CaptionWidth(*name));
    for (std::size_t row = 0; row < names.size(); ++row) {
        names[row]->resize(countX - kNameX, 16);
        counts[row]->move(countX, counts[row]->y());
    }
    for (QLabel* row : rows_)
        row->show();
    statisticsBottom_ = listed == 0 ? kEmptyStatisticsBottom : 187 + kRowHeight * listed;
    PlaceBoxes();
    Form()->update();
}

void CDescriptionFolder::ClearRows() {
    for (QLabel* row : rows_)
        delete row;
    rows_.clear();
}

void CDescriptionFolder::PlaceBoxes() {
    const int width = FormWidth() - 2 * kBoxInset;
    counts_->setGeometry(kBoxInset, kCountsTop, width, kCountsBottom - kCountsTop);
    statistics_->setGeometry(kBoxInset, kStatisticsTop, width, statisticsBottom_ - kStatisticsTop);
    counts_->lower();
    statistics_->lower();
    PlaceRescanAndDetectsLink(statisticsBottom_);
}

void CDescriptionFolder::OnFormWidthChanged() { PlaceBoxes(); }

}  // namespace vn

#include "app/details/CDescriptionComputer.h"

#include <QGroupBox>
#include <QLabel>
#include <algorithm>

#include "catalogue/ProductDef.h"
#include "core/StatusSink.h"
#include "inventory/InventoryNode.h"
#include "pictures/PictureIds.h"
#include "pictures/ResourceIcon.h"

namespace vn {
namespace {

constexpr int kStripHeight = 80;
constexpr int kFormWidth = 320;
constexpr int kFormHeight = 240;
constexpr int kTallFormHeight = 330;

constexpr int kBoxTop = 84;
constexpr int kBoxMinBottom = 160;
constexpr int kBoxInset = 4;
constexpr int kFirstRowY = 104;
constexpr int kRowHeight = 20;
constexpr int kIconX = 24;
constexpr int kTextX = 44;
constexpr int kDetectsLinkControl = 1121;

constexpr int kLabelX = 52;
constexpr int kValueX = 130;
constexpr int kLineHeight = 14;

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString DottedAddress(IPv4 address) {
    if (address == 0)
        return {};
    return Text(FormatText("%d.%d.%d.%d", static_cast<int>((address >> 24) & 0xFF),
                           static_cast<int>((address >> 16) & 0xFF), static_cast<int>((address >> 8) & 0xFF),
                           static_cast<int>(address & 0xFF)));
}

}  // namespace

CDescriptionComputer::CDescriptionComputer(QWidget* parent) : CDescriptionComputer(kFormHeight, parent) {}

CDescriptionComputer::CDescriptionComputer(int formHeight, QWidget* parent)
    : DescriptionView(kStripHeight, QSize(kFormWidth, formHeight), parent) {
    SetControlId(Title(), 1026);
    const int valueWidth = kFormWidth - kValueX - 6;
    AddLabel(QStringLiteral("Description:"), QRect(kLabelX, 34, kValueX - kLabelX, kLineHeight));
    AddLabel(QStringLiteral("OS Version:"), QRect(kLabelX, 34 + kLineHeight, kValueX - kLabelX, kLineHeight));
    AddLabel(QStringLiteral("IP Address:"), QRect(kLabelX, 34 + 2 * kLineHeight, kValueX - kLabelX, kLineHeight));
    description_ = AddLabel({}, QRect(kValueX, 34, valueWidth, kLineHeight), true);
    osVersion_ = AddLabel({}, QRect(kValueX, 34 + kLineHeight, valueWidth, kLineHeight), true);
    ipAddress_ = AddLabel({}, QRect(kValueX, 34 + 2 * kLineHeight, valueWidth, kLineHeight), true);
    description_->setObjectName(QStringLiteral("description"));
    osVersion_->setObjectName(QStringLiteral("osVersion"));
    ipAddress_->setObjectName(QStringLiteral("ipAddress"));
    SetControlId(description_, 1027);
    SetControlId(osVersion_, 1028);
    SetControlId(ipAddress_, 1044);

    box_ = new QGroupBox(QStringLiteral("Installed Products"), Form());
    box_->setObjectName(QStringLiteral("productBox"));
    AddRescanButton();
    AddDetectsLink(kDetectsLinkControl);
    boxBottom_ = kBoxMinBottom;
    PlaceBox();
}

void CDescriptionComputer::ShowNode(const ComputerRecord& computer) {
    SetNode(&computer);
    SetTitle(Text(computer.Name));
    description_->setText(Text(computer.Description));
    osVersion_->setText(Text(computer.OSVersion));
    // Cut off at the pane's edge, the whole text is a hover away.
    description_->setToolTip(description_->text());
    osVersion_->setToolTip(osVersion_->text());
    ipAddress_->setText(DottedAddress(computer.LastKnownIP));
    SetPicture(ResourceIcon(computer.IsServer == 1 ? picture::kServer : picture::kWorkstation));

    ClearRows();
    const int count = static_cast<int>(computer.InstalledProducts.size());
    boxBottom_ = std::max(kBoxMinBottom, 124 + kRowHeight * count);
    const int textWidth = FormWidth() - kTextX - 2 * kBoxInset;
    int y = kFirstRowY;
    for (const ProductDef* product : computer.InstalledProducts) {
        auto* icon = new QLabel(Form());
        icon->setPixmap(product->Icon.pixmap(16, 16));
        icon->setGeometry(kIconX, y, 16, 16);
        rows_.push_back(icon);
        rows_.push_back(AddLabel(Text(product->DisplayName), QRect(kTextX, y, textWidth, 16)));
        y += kRowHeight;
    }
    if (count == 0) {
        rows_.push_back(AddLabel(QStringLiteral("None of the known products have been found on this computer."),
                                 QRect(kTextX, kFirstRowY, std::max(textWidth, 320), 16)));
    }
    for (QLabel* row : rows_)
        row->show();
    PlaceBox();
    Form()->update();
}

void CDescriptionComputer::ClearRows() {
    for (QLabel* row : rows_)
        delete row;
    rows_.clear();
}

void CDescriptionComputer::PlaceBox() {
    box_->setGeometry(kBoxInset, kBoxTop, FormWidth() - 2 * kBoxInset, boxBottom_ - kBoxTop);
    box_->lower();
    PlaceRescanAndDetectsLink(boxBottom_);
}

void CDescriptionComputer::OnFormWidthChanged() {
    // The values run to the form's right edge, so a long OS name is not cut
    // short while the pane has room for it.
    for (QLabel* value : {description_, osVersion_, ipAddress_})
        value->resize(std::max(kFormWidth, FormWidth()) - kValueX - 6, kLineHeight);
    PlaceBox();
}

CDescriptionComputer2::CDescriptionComputer2(QWidget* parent) : CDescriptionComputer(kTallFormHeight, parent) {}

}  // namespace vn

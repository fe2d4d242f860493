#include "app/dialogs/CDetectInfoDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "pictures/PictureIds.h"
#include "pictures/ResourceIcon.h"
#include "ui/HeaderBand.h"

namespace vn {
namespace {

constexpr int kHeadingHeight = 50;
constexpr int kListColumnWidth = 260;

// The maker's own products, shown with fixed labels and pictures rather than
// from the catalogue.
struct MakerProduct {
    const char* name;
    int picture;
};
constexpr MakerProduct kMakerProducts[] = {{"Vantor", picture::kProductVantor}, {"Kestrel", picture::kProductKestrel}};

bool IsMakerProduct(const std::string& displayName) {
    for (const MakerProduct& product : kMakerProducts) {
        if (displayName == product.name)
            return true;
    }
    return false;
}

QWidget* Heading(QWidget* parent) {
    auto* band = new HeaderBand(kHeadingHeight, HeaderBand::BottomEdge, parent);
    auto* heading = new QLabel(QStringLiteral("Products that Netwarden Detects"), band);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    auto* layout = new QHBoxLayout(band);
    layout->setContentsMargins(15, 0, 15, 2);
    layout->addWidget(heading);
    return band;
}

QGroupBox* MakerProducts(QWidget* parent) {
    auto* group = new QGroupBox(QStringLiteral("Quillon products "), parent);
    auto* grid = new QGridLayout(group);
    int row = 0;
    for (const MakerProduct& product : kMakerProducts) {
        auto* picture = new QLabel(group);
        picture->setPixmap(ResourceIcon(product.picture).pixmap(32, 32));
        grid->addWidget(picture, row, 0);
        grid->addWidget(new QLabel(QString::fromLatin1(product.name), group), row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    return group;
}

}  // namespace

CDetectInfoDlg::CDetectInfoDlg(const std::filesystem::path& catalogueFile, QWidget* parent)
    : QDialog(parent),
      list_(new QTreeWidget(this)) {
    setWindowTitle(QStringLiteral("What Netwarden detects "));
    catalogue_.WarnIfMissing = false;
    catalogue_.Load(catalogueFile);

    list_->setObjectName(QStringLiteral("otherProducts"));
    list_->setColumnCount(1);
    list_->setHeaderLabels({QStringLiteral("Other Products")});
    list_->setRootIsDecorated(false);
    list_->setIconSize(QSize(16, 16));
    list_->header()->setStretchLastSection(false);
    list_->setColumnWidth(0, kListColumnWidth);
    FillOtherProducts();

    auto* others = new QGroupBox(QStringLiteral("Other products "), this);
    auto* othersLayout = new QVBoxLayout(others);
    othersLayout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* body = new QVBoxLayout;
    body->setContentsMargins(15, 10, 15, 15);
    body->addWidget(new QLabel(QStringLiteral("Vantor Netwarden detects the following remote access products:"), this));
    body->addWidget(MakerProducts(this));
    body->addWidget(others, 1);
    body->addWidget(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Heading(this));
    layout->addLayout(body, 1);
    resize(340, 460);
}

void CDetectInfoDlg::FillOtherProducts() {
    for (std::size_t i = 0; i < catalogue_.size(); ++i) {
        const ProductDef& product = catalogue_.at(i);
        if (IsMakerProduct(product.DisplayName))
            continue;
        auto* item = new QTreeWidgetItem(list_, {QString::fromStdString(product.DisplayName)});
        item->setIcon(0, product.Icon);
    }
}

}  // namespace vn

#include "app/details/CDescriptionNoSelected.h"

#include <QLabel>
#include <QStyle>

namespace vn {
namespace {

constexpr int kStripHeight = 55;
constexpr QSize kFormSize{320, 110};

}  // namespace

CDescriptionNoSelected::CDescriptionNoSelected(QWidget* parent) : DescriptionView(kStripHeight, kFormSize, parent) {
    SetTitle(QStringLiteral("View Details"));
    SetPicture(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    text_ = AddLabel(QStringLiteral("Select an item on the left to view its details."), QRect(6, 60, 300, 20));
    text_->setObjectName(QStringLiteral("text"));
}

}  // namespace vn

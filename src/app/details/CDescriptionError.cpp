#include "app/details/CDescriptionError.h"

#include <QLabel>
#include <QStyle>

#include "core/StatusSink.h"
#include "inventory/InventoryNode.h"
#include "pictures/PictureIds.h"
#include "pictures/ResourceIcon.h"

namespace vn {
namespace {

constexpr int kStripHeight = 80;
constexpr QSize kFormSize{320, 160};
constexpr int kTextX = 52;
constexpr int kTextY = 34;
constexpr int kTextHeight = 42;
constexpr int kDetectsLinkControl = 1121;

}  // namespace

CDescriptionError::CDescriptionError(QWidget* parent) : DescriptionView(kStripHeight, kFormSize, parent) {
    SetControlId(Title(), 1026);
    text_ = AddLabel({}, QRect(kTextX, kTextY, kFormSize.width() - kTextX - 6, kTextHeight));
    text_->setObjectName(QStringLiteral("errorText"));
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetControlId(text_, 1038);
    AddRescanButton();
    AddDetectsLink(kDetectsLinkControl);
    PlaceRescanAndDetectsLink(kStripHeight);
}

void CDescriptionError::ShowNode(const ComputerRecord& computer) {
    SetNode(&computer);
    const QString name = QString::fromStdString(computer.Name);
    errorText_ = QString::fromStdString(
        FormatText("Failed to connect to computer \"%s\".\r\n%s", computer.Name, computer.ErrorString));
    SetTitle(name);
    // A label shows a bare carriage return as a glyph; the line break is the "\n".
    text_->setText(QString(errorText_).remove(QLatin1Char('\r')).trimmed());
    // The system's texts say "Access is denied."; the test is on that word.
    accessDenied_ = computer.ErrorString.find("Access") != std::string::npos;
    SetPicture(accessDenied_ ? ResourceIcon(picture::kAccessDenied)
                             : style()->standardIcon(QStyle::SP_MessageBoxCritical));
    Form()->update();
}

void CDescriptionError::OnFormWidthChanged() {
    text_->setGeometry(kTextX, kTextY, FormWidth() - kTextX - 6, kTextHeight);
}

}  // namespace vn

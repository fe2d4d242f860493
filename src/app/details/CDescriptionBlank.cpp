#include "app/details/CDescriptionBlank.h"

#include <QLabel>
#include <QPushButton>
#include <QStyle>

#include "app/context/CommandIds.h"
#include "ui/HyperlinkLabel.h"

namespace vn {
namespace {

constexpr int kStripHeight = 55;
constexpr QSize kFormSize{320, 175};
constexpr int kStretchFrom = 340;  // wider than this, the text follows the width
constexpr QRect kDesignedText{6, 60, 300, 40};
constexpr int kButtonsY = 106;
constexpr QSize kButtonSize{90, 22};
constexpr int kDetectsLinkControl = 1126;

}  // namespace

CDescriptionBlank::CDescriptionBlank(QWidget* parent) : DescriptionView(kStripHeight, kFormSize, parent) {
    SetTitle(QStringLiteral("Scan Network"));
    SetPicture(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    text_ = AddLabel(QStringLiteral("Vantor Netwarden puts you in control of your network. Scan your network or "
                                    "specified lists of domains, IPs, or PCs for remote access tools."),
                     kDesignedText);
    text_->setObjectName(QStringLiteral("text"));
    text_->setWordWrap(true);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    scan_ = new QPushButton(QStringLiteral("Scan..."), Form());
    scan_->setObjectName(QStringLiteral("scan"));
    SetControlId(scan_, 1019);
    scan_->setGeometry(QRect(QPoint(kDesignedText.x(), kButtonsY), kButtonSize));
    connect(scan_, &QPushButton::clicked, this, [this] { emit commandRequested(cmd::kScan); });

    // The link stands under Scan... as it stands under Rescan elsewhere.
    AddDetectsLink(kDetectsLinkControl);
    PlaceRescanAndDetectsLink(kButtonsY - 8);
}

void CDescriptionBlank::OnFormWidthChanged() {
    if (width() > kStretchFrom)
        text_->setGeometry(kDesignedText.x(), kDesignedText.y(), width() - 40, kDesignedText.height());
    else
        text_->setGeometry(kDesignedText);
}

}  // namespace vn

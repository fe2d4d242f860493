#include "app/dialogs/CBetaWarningDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/HyperlinkLabel.h"
#include "ui/OkButtonBox.h"

namespace vn {
namespace {

constexpr int kMargin = 15;  // the icon stands at (15, 15)
constexpr int kIconSize = 32;

}  // namespace

CBetaWarningDlg::CBetaWarningDlg(const QString& downloadUrl, QWidget* parent)
    : QDialog(parent),
      link_(new HyperlinkLabel(QString(), this)) {
    setWindowTitle(QStringLiteral("Vantor Information"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("informationIcon"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(kIconSize, kIconSize));

    auto* notInstalled =
        new QLabel(QStringLiteral("Vantor is not installed on this computer. To use Netwarden\u2019s install feature "
                                  "you will have to create a Vantor account and install Vantor on this computer. "),
                   this);
    notInstalled->setWordWrap(true);
    link_->setObjectName(QStringLiteral("downloadLink"));
    link_->SetUrl(QUrl(downloadUrl));

    QDialogButtonBox* buttons = MakeOkButtonBox(*this);

    auto* texts = new QVBoxLayout;
    texts->addWidget(notInstalled);
    texts->addWidget(new QLabel(QStringLiteral("The setup only takes a few minutes, to start just visit "), this));
    texts->addWidget(link_);
    texts->addWidget(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);
    setMinimumWidth(420);
}

}  // namespace vn

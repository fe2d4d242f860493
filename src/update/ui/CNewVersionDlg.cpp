#include "update/ui/CNewVersionDlg.h"

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

constexpr int kMargin = 15;  // the icon sits at (15, 15)
constexpr int kIconSize = 32;

}  // namespace

CNewVersionDlg::CNewVersionDlg(const QString& downloadUrl, QWidget* parent)
    : QDialog(parent),
      downloadUrl_(downloadUrl) {
    setWindowTitle(QStringLiteral("New version warning"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("informationIcon"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(kIconSize, kIconSize));

    auto* link = new HyperlinkLabel(QString(), this);
    link->setObjectName(QStringLiteral("downloadLink"));
    link->SetUrl(QUrl(downloadUrl_));

    QDialogButtonBox* buttons = MakeOkButtonBox(*this);

    auto* texts = new QVBoxLayout;
    texts->addWidget(
        new QLabel(QStringLiteral("A new version of Vantor Netwarden has been detected on the Internet."), this));
    texts->addWidget(new QLabel(QStringLiteral("If you want to download the latest version, please visit:"), this));
    texts->addWidget(link);
    texts->addWidget(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(texts, 1);
}

}  // namespace vn

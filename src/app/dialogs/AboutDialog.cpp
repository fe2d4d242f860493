#include "app/dialogs/AboutDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include "pictures/PictureIds.h"
#include "pictures/ResourceIcon.h"
#include "ui/HyperlinkLabel.h"
#include "ui/OkButtonBox.h"

namespace vn {

AboutDialog::AboutDialog(const QString& homeUrl, QWidget* parent)
    : QDialog(parent),
      link_(new HyperlinkLabel(QString(), this)) {
    setWindowTitle(QStringLiteral("About Vantor Netwarden"));

    auto* mark = new QLabel(this);
    mark->setPixmap(ResourceIcon(picture::kMainIcon).pixmap(32, 32));

    auto* name = new QLabel(QStringLiteral("Vantor Netwarden Version " VN_PROGRAM_VERSION), this);
    name->setObjectName(QStringLiteral("versionLine"));
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    link_->setObjectName(QStringLiteral("homeLink"));
    link_->SetUrl(QUrl(homeUrl));

    QDialogButtonBox* buttons = MakeOkButtonBox(*this);

    auto* texts = new QVBoxLayout;
    texts->addWidget(name);
    texts->addWidget(
        new QLabel(QStringLiteral("Copyright \u00A9 The Vantor Netwarden developers. All rights reserved."), this));
    texts->addWidget(link_);
    texts->addWidget(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(15, 15, 15, 15);
    layout->addWidget(mark, 0, Qt::AlignTop);
    layout->addSpacing(10);
    layout->addLayout(texts, 1);
}

}  // namespace vn

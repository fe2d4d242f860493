#include "ui/InformationDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QString>
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

HyperlinkLabel* LayOutInformationDialog(QDialog& dialog, const QString& title, const QList<QLabel*>& texts,
                                        const QString& url) {
    dialog.setWindowTitle(title);

    auto* icon = new QLabel(&dialog);
    icon->setObjectName(QStringLiteral("informationIcon"));
    icon->setPixmap(dialog.style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(kIconSize, kIconSize));

    auto* link = new HyperlinkLabel(QString(), &dialog);
    link->setObjectName(QStringLiteral("downloadLink"));
    link->SetUrl(QUrl(url));

    auto* column = new QVBoxLayout;
    for (QLabel* text : texts)
        column->addWidget(text);
    column->addWidget(link);
    column->addWidget(MakeOkButtonBox(dialog));

    auto* layout = new QHBoxLayout(&dialog);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addLayout(column, 1);
    return link;
}

}  // namespace vn

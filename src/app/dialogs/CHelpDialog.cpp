#include "app/dialogs/CHelpDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>

#include "app/dialogs/MakerPages.h"
#include "ui/HyperlinkLabel.h"
#include "ui/OkButtonBox.h"

namespace vn {
namespace {

QString Text(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

CHelpDialog::CHelpDialog(const QString& supportUrl, QWidget* parent)
    : QDialog(parent),
      link_(new HyperlinkLabel(QString(), this)) {
    setWindowTitle(QStringLiteral("Support"));
    link_->setObjectName(QStringLiteral("supportLink"));
    link_->SetUrl(QUrl(supportUrl));

    QDialogButtonBox* buttons = MakeOkButtonBox(*this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(15, 15, 15, 15);
    layout->addWidget(new QLabel(QStringLiteral("Please visit our support page at:"), this));
    layout->addWidget(link_);
    layout->addSpacing(8);
    layout->addWidget(new QLabel(QStringLiteral("or call one of these numbers:"), this));
    layout->addWidget(new QLabel(Text(kSupportPhoneLine1), this));
    layout->addWidget(new QLabel(Text(kSupportPhoneLine2), this));
    layout->addWidget(buttons);
}

}  // namespace vn

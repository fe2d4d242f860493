#include "app/dialogs/NameEntryDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "core/MessageBoxService.h"

namespace vn {

NameEntryDialog::NameEntryDialog(NameKind kind, const QString& title, const QString& prompt, QWidget* parent)
    : QDialog(parent),
      kind_(kind),
      edit_(new QLineEdit(this)) {
    setWindowTitle(title);
    edit_->setObjectName(QStringLiteral("nameEdit"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &NameEntryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(prompt, this));
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

std::string NameEntryDialog::Name() const { return edit_->text().toStdString(); }

std::string NameEntryDialog::Refusal(const std::string& name) const { return NameRefusal(kind_, name); }

void NameEntryDialog::accept() {
    const std::string refusal = Refusal(Name());
    if (!refusal.empty()) {
        ShowMessage(kAppCaption, refusal, MessageIcon::Stop);
        edit_->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace vn

#include "ui/OkButtonBox.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace vn {

QDialogButtonBox* MakeOkButtonBox(QDialog& dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setDefault(true);
    // Taken when the dialog is shown, before the first widget of the tab order would be.
    ok->setFocus(Qt::OtherFocusReason);
    return buttons;
}

}  // namespace vn

#include "app/dialogs/CBetaWarningDlg.h"

#include <QLabel>

#include "ui/InformationDialog.h"

namespace vn {

CBetaWarningDlg::CBetaWarningDlg(const QString& downloadUrl, QWidget* parent) : QDialog(parent) {
    auto* notInstalled =
        new QLabel(QStringLiteral("Vantor is not installed on this computer. To use Netwarden\u2019s install feature "
                                  "you will have to create a Vantor account and install Vantor on this computer. "),
                   this);
    notInstalled->setWordWrap(true);
    auto* visit = new QLabel(QStringLiteral("The setup only takes a few minutes, to start just visit "), this);
    link_ = LayOutInformationDialog(*this, QStringLiteral("Vantor Information"), {notInstalled, visit}, downloadUrl);
    setMinimumWidth(420);
}

}  // namespace vn

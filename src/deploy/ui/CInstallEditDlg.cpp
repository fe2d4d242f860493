#include "deploy/ui/CInstallEditDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/MessageBoxService.h"
#include "deploy/ui/PortText.h"
#include "ui/TextFit.h"

namespace vn {

CInstallEditDlg::CInstallEditDlg(const std::vector<std::string>& hostNames, const QString& portText,
                                 const QString& destinationPath, QWidget* parent)
    : QDialog(parent),
      port_(new QLineEdit(portText)),
      destinationPath_(new QLineEdit(destinationPath)),
      useSettings_(new QCheckBox(QStringLiteral("Use my Vantor Settings"))) {
    setWindowTitle(QStringLiteral("Edit instalaltion parameters"));
    port_->setObjectName(QStringLiteral("port"));
    destinationPath_->setObjectName(QStringLiteral("destinationPath"));
    FitLineEditToText(*destinationPath_);
    useSettings_->setObjectName(QStringLiteral("useSettings"));
    useSettings_->setChecked(true);

    auto* names = new QListWidget;
    names->setObjectName(QStringLiteral("hostNames"));
    names->setSelectionMode(QAbstractItemView::NoSelection);
    names->setSortingEnabled(true);
    for (const std::string& name : hostNames)
        names->addItem(QString::fromStdString(name));

    auto* group = new QGroupBox(QStringLiteral("Intallation parameters"));
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("Host name(s):"), names);
    form->addRow(QStringLiteral("Port number:"), port_);
    form->addRow(QStringLiteral("Destination path:"), destinationPath_);
    form->addRow(useSettings_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
}

QString CInstallEditDlg::PortText() const { return port_->text(); }
QString CInstallEditDlg::DestinationPath() const { return destinationPath_->text(); }
bool CInstallEditDlg::UseSettings() const { return useSettings_->isChecked(); }

void CInstallEditDlg::accept() {
    if (destinationPath_->text().isEmpty()) {
        ShowMessage(kAppCaption, "You must enter a Destination Path to continue.", MessageIcon::None);
        return;
    }
    if (!IsAcceptablePortText(port_->text().toStdString())) {
        ShowMessage(kAppCaption, "You must enter a valid port number to continue.", MessageIcon::None);
        return;
    }
    QDialog::accept();
}

}  // namespace vn

#include "deploy/ui/CInstallAddHostDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

#include "core/MessageBoxService.h"
#include "deploy/ToolCommandLines.h"
#include "detect/AddressResolution.h"
#include "ui/TextFit.h"

namespace vn {
namespace {

constexpr int kDefaultPort = 2002;

// The framework's integer check of the port field: its message, or empty.
std::string PortFieldProblem(const QString& text, std::int32_t& port) {
    bool isNumber = false;
    const qlonglong value = text.trimmed().toLongLong(&isNumber);
    if (!isNumber)
        return "Please enter an integer.";
    if (value < 0 || value > 65535)
        return "Please enter an integer between 0 and 65535.";
    port = static_cast<std::int32_t>(value);
    return {};
}

}  // namespace

CInstallAddHostDlg::CInstallAddHostDlg(Platform& platform, const std::string& destinationPath, QWidget* parent)
    : QDialog(parent),
      platform_(platform),
      hostName_(new QLineEdit(this)),
      destinationPath_(new QLineEdit(QString::fromStdString(destinationPath), this)),
      port_(new QLineEdit(QString::number(kDefaultPort), this)),
      useSettings_(new QCheckBox(QStringLiteral("Use my Vantor Settings"), this)) {
    setWindowTitle(QStringLiteral("Add new target host"));
    hostName_->setObjectName(QStringLiteral("hostName"));
    destinationPath_->setObjectName(QStringLiteral("destinationPath"));
    FitLineEditToText(*destinationPath_);
    port_->setObjectName(QStringLiteral("port"));
    useSettings_->setObjectName(QStringLiteral("useSettings"));
    useSettings_->setChecked(true);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("Host name:"), hostName_);
    form->addRow(QStringLiteral("Destination path:"), destinationPath_);
    form->addRow(QStringLiteral("Port:"), port_);
    form->addRow(useSettings_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

void CInstallAddHostDlg::accept() {
    InstallTarget target;
    if (const std::string problem = PortFieldProblem(port_->text(), target.port); !problem.empty()) {
        ShowMessage(kAppCaption, problem, MessageIcon::Warning);
        return;
    }
    target.hostName = hostName_->text().toStdString();
    target.destinationPath = destinationPath_->text().toStdString();
    target.useLocalSettings = useSettings_->isChecked() ? 1 : 0;
    if (target.hostName.empty()) {
        ShowMessage(kAppCaption,
                    target.destinationPath.empty() ? "You must enter a Host Name and a Destination Path to continue."
                                                   : "You must enter a Host Name to continue.",
                    MessageIcon::None);
        return;
    }
    if (target.destinationPath.empty()) {
        ShowMessage(kAppCaption, "You must enter a Destination Path to continue.", MessageIcon::None);
        return;
    }
    // A name no computer can have would reach the tool as something else.
    if (const std::string problem = HostNameProblem(target.hostName); !problem.empty()) {
        ShowMessage("Error", problem, MessageIcon::Warning);
        return;
    }
    if (IsLocalComputer(platform_, target.hostName)) {
        ShowMessage("Error",
                    "The computer running the Netwarden application cannot be added to the Vantor installation list.",
                    MessageIcon::Warning);
        return;
    }
    target_ = target;
    QDialog::accept();
}

}  // namespace vn

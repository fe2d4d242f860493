#include "app/CWelcomeDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/context/CommandIds.h"

namespace vn {

CWelcomeDlg::CWelcomeDlg(bool showAtStartup, std::function<void(int)> runCommand, QWidget* parent)
    : QDialog(parent),
      runCommand_(std::move(runCommand)),
      scanNetwork_(new QPushButton(QStringLiteral("Scan Network "))),
      scanSubnet_(new QPushButton(QStringLiteral("Scan Subnet"))),
      showAtStartup_(new QCheckBox(QStringLiteral("Display this screen upon startup"))) {
    setWindowTitle(QStringLiteral("Vantor Netwarden"));
    scanNetwork_->setObjectName(QStringLiteral("scanNetwork"));
    scanSubnet_->setObjectName(QStringLiteral("scanSubnet"));
    showAtStartup_->setChecked(showAtStartup);
    connect(scanNetwork_, &QPushButton::clicked, this, [this] { RunAndClose(cmd::kScanNetwork); });
    connect(scanSubnet_, &QPushButton::clicked, this, [this] { RunAndClose(cmd::kScanSubnet); });

    auto* scans = new QHBoxLayout;
    scans->addWidget(scanNetwork_);
    scans->addWidget(scanSubnet_);
    scans->addStretch(1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    auto* prompt = new QLabel(QStringLiteral("Scan. Please select an operation below."), this);
    prompt->setObjectName(QStringLiteral("prompt"));
    layout->addWidget(prompt);
    layout->addLayout(scans);
    layout->addWidget(showAtStartup_);
    layout->addWidget(buttons);
}

bool CWelcomeDlg::ShowAtStartup() const { return showAtStartup_->isChecked(); }

void CWelcomeDlg::RunAndClose(int commandId) {
    if (runCommand_)
        runCommand_(commandId);
    accept();
}

}  // namespace vn

#include "app/dialogs/CScanDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vn {

CScanDlg::CScanDlg(bool networkScanAvailable, bool subnetScanAvailable, QWidget* parent)
    : QDialog(parent),
      scanNetwork_(new QPushButton(QStringLiteral("Scan Network"))),
      scanSubnet_(new QPushButton(QStringLiteral("Scan Subnet "))) {
    setWindowTitle(QStringLiteral("Vantor Netwarden"));
    scanNetwork_->setObjectName(QStringLiteral("scanNetwork"));
    scanSubnet_->setObjectName(QStringLiteral("scanSubnet"));
    scanNetwork_->setEnabled(networkScanAvailable);
    scanSubnet_->setEnabled(subnetScanAvailable);
    connect(scanNetwork_, &QPushButton::clicked, this, [this] { Choose(Choice::ScanNetwork); });
    connect(scanSubnet_, &QPushButton::clicked, this, [this] { Choose(Choice::ScanSubnet); });

    auto* group = new QGroupBox(QStringLiteral("Scan"), this);
    auto* grid = new QGridLayout(group);
    grid->addWidget(scanNetwork_, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Scan Windows network for installations of remote access software.")), 0,
                    1);
    grid->addWidget(scanSubnet_, 1, 0);
    grid->addWidget(
        new QLabel(QStringLiteral("Scan an IP range of your network for installations of remote access software.")), 1,
        1);
    grid->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Please select an operation below."), this));
    layout->addWidget(group);
    layout->addWidget(buttons);
}

void CScanDlg::Choose(Choice choice) {
    chosen_ = choice;
    accept();
}

}  // namespace vn

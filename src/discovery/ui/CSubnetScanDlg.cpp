#include "discovery/ui/CSubnetScanDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/MessageBoxService.h"
#include "ui/IpAddressEdit.h"

namespace vn {
namespace {

IpAddressEdit* AddressField(const char* objectName, QWidget* parent) {
    auto* field = new IpAddressEdit(parent);
    field->setObjectName(QString::fromLatin1(objectName));
    return field;
}

}  // namespace

CSubnetScanDlg::CSubnetScanDlg(IPv4 localAddress, QWidget* parent)
    : QDialog(parent),
      subnetChoice_(new QRadioButton(QStringLiteral("Subnet Address (e.g. 192.168.0.0)"), this)),
      rangeChoice_(new QRadioButton(QStringLiteral("Address Range"), this)),
      netAddress_(AddressField("netAddress", this)),
      netMask_(AddressField("netMask", this)),
      from_(AddressField("from", this)),
      to_(AddressField("to", this)),
      resolve_(new QCheckBox(QStringLiteral("Resolve host names"), this)),
      fast_(new QCheckBox(QStringLiteral("Fast sweep"), this)) {
    setWindowTitle(QStringLiteral("Subnet Scan"));
    subnetChoice_->setObjectName(QStringLiteral("subnetChoice"));
    rangeChoice_->setObjectName(QStringLiteral("rangeChoice"));
    resolve_->setObjectName(QStringLiteral("resolve"));
    fast_->setObjectName(QStringLiteral("fastSweep"));

    const IPv4 network = localAddress & 0xFFFFFF00;
    netAddress_->SetAddress(network);
    netMask_->SetAddress(localAddress != 0 ? 0xFFFFFF00 : 0);
    from_->SetAddress(localAddress != 0 ? network | 1 : 0);
    to_->SetAddress(localAddress != 0 ? network | 254 : 0);
    subnetChoice_->setChecked(true);
    resolve_->setChecked(true);
    EnableFields();
    connect(subnetChoice_, &QRadioButton::toggled, this, &CSubnetScanDlg::EnableFields);

    auto* subnet = new QFormLayout;
    subnet->addRow(QStringLiteral("Net Address:"), netAddress_);
    subnet->addRow(QStringLiteral("Net Mask:"), netMask_);
    auto* bounds = new QFormLayout;
    bounds->addRow(QStringLiteral("From:"), from_);
    bounds->addRow(QStringLiteral("To:"), to_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSubnetScanDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(subnetChoice_);
    layout->addLayout(subnet);
    layout->addWidget(rangeChoice_);
    layout->addLayout(bounds);
    layout->addWidget(resolve_);
    layout->addWidget(fast_);
    layout->addWidget(buttons);
}

bool CSubnetScanDlg::Resolve() const { return resolve_->isChecked(); }

bool CSubnetScanDlg::FastSweep() const { return fast_->isChecked(); }

void CSubnetScanDlg::SetFastSweep(bool fast) { fast_->setChecked(fast); }

void CSubnetScanDlg::EnableFields() {
    const bool subnet = subnetChoice_->isChecked();
    netAddress_->setEnabled(subnet);
    netMask_->setEnabled(subnet);
    from_->setEnabled(!subnet);
    to_->setEnabled(!subnet);
}

void CSubnetScanDlg::accept() {
    AddressRange range;
    const std::string refusal = subnetChoice_->isChecked()
                                    ? RangeOfSubnet(netAddress_->Address(), netMask_->Address(), range)
                                    : RangeOfBounds(from_->Address(), to_->Address(), range);
    if (!refusal.empty()) {
        ShowMessage("Error", refusal, MessageIcon::Warning);
        return;
    }
    range_ = range;
    QDialog::accept();
}

}  // namespace vn

#pragma once

#include <QDialog>

#include "discovery/SubnetRange.h"

class QCheckBox;
class QRadioButton;

namespace vn {

class IpAddressEdit;

// "Subnet Scan": a range of addresses, given as a network address and a mask
// or as a first and a last address, and whether found computers are named by
// reverse lookup, and whether the range is swept fast first ("Fast sweep",
// unticked unless set). OK refuses an empty address or mask and a bad range, and
// stays open.
class CSubnetScanDlg final : public QDialog {
    Q_OBJECT
public:
    // The fields start from the network of localAddress (a.b.c.0/24, a.b.c.1 to
    // a.b.c.254); 0 leaves them all 0.0.0.0.
    explicit CSubnetScanDlg(IPv4 localAddress, QWidget* parent = nullptr);

    // The range confirmed with OK; 0 to 0 before.
    AddressRange Range() const { return range_; }
    bool Resolve() const;
    bool FastSweep() const;
    void SetFastSweep(bool fast);

    QRadioButton* SubnetChoice() const { return subnetChoice_; }
    QRadioButton* RangeChoice() const { return rangeChoice_; }
    IpAddressEdit* NetAddress() const { return netAddress_; }
    IpAddressEdit* NetMask() const { return netMask_; }
    IpAddressEdit* FromAddress() const { return from_; }
    IpAddressEdit* ToAddress() const { return to_; }
    QCheckBox* ResolveCheck() const { return resolve_; }
    QCheckBox* FastSweepCheck() const { return fast_; }

    void accept() override;

private:
    void EnableFields();

    QRadioButton* subnetChoice_;
    QRadioButton* rangeChoice_;
    IpAddressEdit* netAddress_;
    IpAddressEdit* netMask_;
    IpAddressEdit* from_;
    IpAddressEdit* to_;
    QCheckBox* resolve_;
    QCheckBox* fast_;
    AddressRange range_;
};

}  // namespace vn

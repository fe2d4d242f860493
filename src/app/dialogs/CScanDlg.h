#pragma once

#include <QDialog>

class QPushButton;

namespace vn {

// The scan chooser: the two kinds of network scan, each a button that closes
// the chooser as OK does and names the scan to run.
class CScanDlg final : public QDialog {
    Q_OBJECT
public:
    enum class Choice { None, ScanNetwork, ScanSubnet };

    // A scan whose subsystem is not available has its button disabled.
    CScanDlg(bool networkScanAvailable, bool subnetScanAvailable, QWidget* parent = nullptr);

    // The scan chosen with its button; None after OK, Cancel or close.
    Choice Chosen() const { return chosen_; }

    QPushButton* ScanNetworkButton() const { return scanNetwork_; }
    QPushButton* ScanSubnetButton() const { return scanSubnet_; }

private:
    void Choose(Choice choice);

    QPushButton* scanNetwork_;
    QPushButton* scanSubnet_;
    Choice chosen_ = Choice::None;
};

}  // namespace vn

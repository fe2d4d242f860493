#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QPushButton;

namespace vn {

// The welcome screen: offers the two network scans and whether to appear
// again at the next start. A scan button closes the screen as OK does and
// runs its command before the screen has gone.
class CWelcomeDlg final : public QDialog {
    Q_OBJECT
public:
    CWelcomeDlg(bool showAtStartup, std::function<void(int commandId)> runCommand, QWidget* parent = nullptr);

    bool ShowAtStartup() const;

    QPushButton* ScanNetworkButton() const { return scanNetwork_; }
    QPushButton* ScanSubnetButton() const { return scanSubnet_; }
    QCheckBox* ShowAtStartupBox() const { return showAtStartup_; }

private:
    void RunAndClose(int commandId);

    std::function<void(int)> runCommand_;
    QPushButton* scanNetwork_;
    QPushButton* scanSubnet_;
    QCheckBox* showAtStartup_;
};

}  // namespace vn

#pragma once

#include <QDialog>

#include "deploy/InstallTarget.h"

class QCheckBox;
class QLineEdit;

namespace vn {

class Platform;

// "Add new target host": one computer for the target list. OK checks the
// port, the two texts and that the name is neither impossible nor this
// computer; after a refusal the dialog stays open with the values as typed.
class CInstallAddHostDlg final : public QDialog {
    Q_OBJECT
public:
    CInstallAddHostDlg(Platform& platform, const std::string& destinationPath, QWidget* parent = nullptr);

    // The values as accepted.
    InstallTarget Target() const { return target_; }

    void accept() override;

private:
    Platform& platform_;
    QLineEdit* hostName_;
    QLineEdit* destinationPath_;
    QLineEdit* port_;
    QCheckBox* useSettings_;
    InstallTarget target_;
};

}  // namespace vn

#pragma once

#include <QDialog>
#include <array>

#include "manage/PolicyCheck.h"
#include "manage/PolicyIdentity.h"
#include "manage/ui/RemoteCallRunner.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace vn {

// "Vantor Policies": the policies of a check that has run successfully, for
// the computer, for its user and combined, with Refresh to run it again.
class CVtrPoliciesDlg final : public QDialog {
    Q_OBJECT
public:
    CVtrPoliciesDlg(Platform& platform, PolicyCheck& check, QWidget* parent = nullptr);
    ~CVtrPoliciesDlg() override;

    // Runs the check again, off the user-interface thread, and shows its values.
    void Refresh();

    // Not while the check runs.
    void reject() override;

signals:
    // "Learn more...": the main window's Group Policy command.
    void learnMoreRequested();

private:
    QWidget* CreateBand();
    QLayout* CreateGrid();
    void ShowIdentity(const PolicyIdentity& identity);
    void ShowValues();

    Platform& platform_;
    PolicyCheck& check_;
    RemoteCallRunner runner_;
    bool busy_ = false;
    QLabel* computer_ = nullptr;
    QLabel* user_ = nullptr;
    std::array<std::array<QLabel*, 3>, kPolicyRowCount> cells_{};
    std::array<QLabel*, 3> preference_{};
    QProgressBar* progress_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* refresh_ = nullptr;
};

}  // namespace vn

#pragma once

#include <QDialog>
#include <string>

#include "credentials/AdministratorViewCheck.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QThread;

namespace vn {

class NetworkIdentity;

// File > Network Credentials...: the domain, user and password the window
// presents to other computers, whether the keyring remembers them, which
// identity is in use now, and Test, which says whether a computer shows that
// identity the administrator view. OK uses what was typed (nothing changes
// when no password was typed and the account is the one in use).
class NetworkCredentialsDialog : public QDialog {
    Q_OBJECT
public:
    NetworkCredentialsDialog(NetworkIdentity& identity, AdministratorViewTest test, const std::string& computer,
                             QWidget* parent);
    ~NetworkCredentialsDialog() override;

    void accept() override;

private:
    void ShowInUse();
    void RunTest();
    void ForgetStored();
    // The credentials typed, when a password was typed or the account differs
    // from the one in use.
    std::optional<smb::SmbCredentials> Typed() const;

    NetworkIdentity& identity_;
    AdministratorViewTest test_;
    QLineEdit* domain_;
    QLineEdit* user_;
    QLineEdit* password_;
    QCheckBox* remember_;
    QLabel* keyringReason_;
    QLabel* inUse_;
    QLineEdit* computer_;
    QPushButton* testButton_;
    QPushButton* forgetButton_;
    QLabel* testResult_;
    QThread* testThread_ = nullptr;
};

}  // namespace vn

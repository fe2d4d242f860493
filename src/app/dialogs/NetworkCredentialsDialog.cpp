#include "app/dialogs/NetworkCredentialsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <utility>

#include "core/MessageBoxService.h"
#include "credentials/NetworkIdentity.h"

namespace vn {
namespace {

QLabel* WrappedLabel(QWidget* parent, const char* objectName) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setWordWrap(true);
    return label;
}

}  // namespace

NetworkCredentialsDialog::NetworkCredentialsDialog(NetworkIdentity& identity, AdministratorViewTest test,
                                                   const std::string& computer, QWidget* parent)
    : QDialog(parent),
      identity_(identity),
      test_(std::move(test)),
      domain_(new QLineEdit(QString::fromStdString(identity.Domain()), this)),
      user_(new QLineEdit(QString::fromStdString(identity.User()), this)),
      password_(new QLineEdit(this)),
      remember_(new QCheckBox(QStringLiteral("Remember in the keyring"), this)),
      keyringReason_(WrappedLabel(this, "keyringReason")),
      inUse_(WrappedLabel(this, "inUse")),
      computer_(new QLineEdit(QString::fromStdString(computer), this)),
      testButton_(new QPushButton(QStringLiteral("Test"), this)),
      forgetButton_(new QPushButton(QStringLiteral("Forget"), this)),
      testResult_(WrappedLabel(this, "testResult")) {
    setWindowTitle(QStringLiteral("Network Credentials"));
    domain_->setObjectName(QStringLiteral("domainEdit"));
    user_->setObjectName(QStringLiteral("userEdit"));
    password_->setObjectName(QStringLiteral("passwordEdit"));
    password_->setEchoMode(QLineEdit::Password);
    remember_->setObjectName(QStringLiteral("rememberCheck"));
    computer_->setObjectName(QStringLiteral("computerEdit"));
    computer_->setPlaceholderText(QStringLiteral("computer name or address"));
    testButton_->setObjectName(QStringLiteral("testButton"));
    forgetButton_->setObjectName(QStringLiteral("forgetButton"));

    std::string why;
    const bool canRemember = identity_.CanRemember(why);
    remember_->setEnabled(canRemember);
    remember_->setChecked(canRemember);
    forgetButton_->setEnabled(canRemember);
    if (!canRemember) {
        keyringReason_->setText(
            QString::fromStdString("The keyring cannot remember the credentials: " + why +
                                   ". They are used until the window closes and are never written to a file."));
    }
    keyringReason_->setVisible(!canRemember);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Domain:"), domain_);
    form->addRow(QStringLiteral("User name:"), user_);
    form->addRow(QStringLiteral("Password:"), password_);
    auto* rememberRow = new QHBoxLayout;
    rememberRow->addWidget(remember_);
    rememberRow->addStretch();
    rememberRow->addWidget(forgetButton_);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(new QLabel(QStringLiteral("Test on:"), this));
    testRow->addWidget(computer_, 1);
    testRow->addWidget(testButton_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(rememberRow);
    layout->addWidget(keyringReason_);
    layout->addWidget(inUse_);
    layout->addLayout(testRow);
    layout->addWidget(testResult_);
    layout->addWidget(buttons);
    setMinimumWidth(440);

    connect(buttons, &QDialogButtonBox::accepted, this, &NetworkCredentialsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(testButton_, &QPushButton::clicked, this, &NetworkCredentialsDialog::RunTest);
    connect(forgetButton_, &QPushButton::clicked, this, &NetworkCredentialsDialog::ForgetStored);
    ShowInUse();
}

NetworkCredentialsDialog::~NetworkCredentialsDialog() {
    // The test's remote calls end by their own time limit.
    if (testThread_ != nullptr)
        testThread_->wait();
}

void NetworkCredentialsDialog::ShowInUse() {
    inUse_->setText(QString::fromStdString("In use now: " + DescribeIdentity(identity_.InUse())));
}

std::optional<smb::SmbCredentials> NetworkCredentialsDialog::Typed() const {
    const std::string user = user_->text().trimmed().toStdString();
    const std::string domain = domain_->text().trimmed().toStdString();
    if (user.empty())
        return std::nullopt;
    if (password_->text().isEmpty() && user == identity_.User() && domain == identity_.Domain())
        return std::nullopt;
    return smb::SmbCredentials::FromPassword(user, password_->text().toStdString(), domain);
}

void NetworkCredentialsDialog::RunTest() {
    const std::string computer = computer_->text().trimmed().toStdString();
    if (computer.empty() || testThread_ != nullptr) {
        computer_->setFocus();
        return;
    }
    testButton_->setEnabled(false);
    testResult_->setText(QString::fromStdString("Testing " + computer + "..."));
    auto result = std::make_shared<AdministratorViewResult>();
    testThread_ = QThread::create(
        [test = test_, credentials = Typed(), computer, result] { *result = test(credentials, computer); });
    connect(testThread_, &QThread::finished, this, [this, result] {
        testResult_->setText(QString::fromStdString(result->text));
        testThread_->deleteLater();
        testThread_ = nullptr;
        testButton_->setEnabled(true);
    });
    testThread_->start();
}

void NetworkCredentialsDialog::ForgetStored() {
    std::string why;
    if (!identity_.Forget(why))
        ShowMessage(kAppCaption, "The keyring cannot be asked: " + why + ".", MessageIcon::Warning);
    ShowInUse();
}

void NetworkCredentialsDialog::accept() {
    if (const std::optional<smb::SmbCredentials> typed = Typed()) {
        std::string why;
        if (!identity_.Use(*typed, remember_->isChecked(), why))
            ShowMessage(
                kAppCaption,
                "The keyring cannot remember the credentials: " + why + ". They are used until the window closes.",
                MessageIcon::Warning);
    }
    QDialog::accept();
}

}  // namespace vn

#include "app/CSettingsDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "app/context/AppSettings.h"

namespace vn {

CSettingsDlg::CSettingsDlg(AppSettings& settings, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      saveSettings_(new QCheckBox(QStringLiteral("Save settings"))),
      welcomeScreen_(new QCheckBox(QStringLiteral("Show Welcome screen at startup"))),
      lockSplitter_(new QCheckBox(QStringLiteral("Lock horizontal splitter"))) {
    setWindowTitle(QStringLiteral("Settings"));
    // Check boxes show any non-zero value as ticked.
    saveSettings_->setChecked(settings.SaveWorkspaceInfo != 0);
    welcomeScreen_->setChecked(settings.WelcomeScreen != 0);
    lockSplitter_->setChecked(settings.LockHorizontalSplitter != 0);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSettingsDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(saveSettings_);
    layout->addWidget(welcomeScreen_);
    layout->addWidget(lockSplitter_);
    layout->addWidget(buttons);
}

void CSettingsDlg::accept() {
    settings_.SaveWorkspaceInfo = saveSettings_->isChecked() ? 1 : 0;
    settings_.WelcomeScreen = welcomeScreen_->isChecked() ? 1 : 0;
    settings_.LockHorizontalSplitter = lockSplitter_->isChecked() ? 1 : 0;
    QDialog::accept();
}

}  // namespace vn

#pragma once

#include <QDialog>

class QCheckBox;

namespace vn {

struct AppSettings;

// The settings dialog: three check boxes over the settings record, which
// takes their states on OK and is left alone on Cancel.
class CSettingsDlg final : public QDialog {
    Q_OBJECT
public:
    CSettingsDlg(AppSettings& settings, QWidget* parent = nullptr);

    QCheckBox* SaveSettingsBox() const { return saveSettings_; }
    QCheckBox* WelcomeScreenBox() const { return welcomeScreen_; }
    QCheckBox* LockSplitterBox() const { return lockSplitter_; }

    void accept() override;

private:
    AppSettings& settings_;
    QCheckBox* saveSettings_;
    QCheckBox* welcomeScreen_;
    QCheckBox* lockSplitter_;
};

}  // namespace vn

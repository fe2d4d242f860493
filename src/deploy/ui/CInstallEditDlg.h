#pragma once

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;

namespace vn {

// "Edit instalaltion parameters": the port, destination path and settings
// flag for several computers at once (the names are only shown). OK refuses
// an empty path and a port outside 0 to 65535; an empty port passes.
class CInstallEditDlg final : public QDialog {
    Q_OBJECT
public:
    CInstallEditDlg(const std::vector<std::string>& hostNames, const QString& portText, const QString& destinationPath,
                    QWidget* parent = nullptr);

    QString PortText() const;
    QString DestinationPath() const;
    bool UseSettings() const;

    void accept() override;

private:
    QLineEdit* port_;
    QLineEdit* destinationPath_;
    QCheckBox* useSettings_;
};

}  // namespace vn

#pragma once

#include <QDialog>
#include <QString>

namespace vn {

// "New version warning": tells the user that a later version exists and links
// to the download page, which opens in the default browser.
class CNewVersionDlg final : public QDialog {
    Q_OBJECT

public:
    explicit CNewVersionDlg(const QString& downloadUrl, QWidget* parent = nullptr);

    const QString& DownloadUrl() const { return downloadUrl_; }

private:
    const QString downloadUrl_;
};

}  // namespace vn

#pragma once

#include <QDialog>
#include <QString>

namespace vn {

class HyperlinkLabel;

// Shown instead of the deployment wizard when the Vantor host is not
// installed on this computer: where to get it, as a link.
class CBetaWarningDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CBetaWarningDlg(const QString& downloadUrl, QWidget* parent = nullptr);

    HyperlinkLabel* DownloadLink() const { return link_; }

private:
    HyperlinkLabel* link_ = nullptr;
};

}  // namespace vn

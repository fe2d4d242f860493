#pragma once

#include <QDialog>
#include <QString>

class QLabel;

namespace vn {

class HyperlinkLabel;

// Shown instead of the deployment wizard when the Vantor host is not
// installed on this computer: where to get it, as a link.
class CBetaWarningDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CBetaWarningDlg(const QString& downloadUrl, QWidget* parent = nullptr);

    HyperlinkLabel* DownloadLink() const { return link_; }
    // Where a host installed here is registered, with a link to its help page.
    QLabel* RegisterHint() const { return registerHint_; }

private:
    HyperlinkLabel* link_ = nullptr;
    QLabel* registerHint_ = nullptr;
};

}  // namespace vn

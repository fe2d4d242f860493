#include "update/ui/CNewVersionDlg.h"

#include <QLabel>

#include "ui/InformationDialog.h"

namespace vn {

CNewVersionDlg::CNewVersionDlg(const QString& downloadUrl, QWidget* parent)
    : QDialog(parent),
      downloadUrl_(downloadUrl) {
    auto* found =
        new QLabel(QStringLiteral("A new version of Vantor Netwarden has been detected on the Internet."), this);
    auto* visit = new QLabel(QStringLiteral("If you want to download the latest version, please visit:"), this);
    LayOutInformationDialog(*this, QStringLiteral("New version warning"), {found, visit}, downloadUrl_);
}

}  // namespace vn

#include "app/dialogs/CBetaWarningDlg.h"

#include <QLabel>

#include "app/dialogs/HelpWindow.h"
#include "ui/InformationDialog.h"

namespace vn {

CBetaWarningDlg::CBetaWarningDlg(const QString& downloadUrl, QWidget* parent) : QDialog(parent) {
    auto* notInstalled =
        new QLabel(QStringLiteral("Vantor is not installed on this computer. To use Netwarden\u2019s install feature "
                                  "you will have to create a Vantor account and install Vantor on this computer. "),
                   this);
    notInstalled->setWordWrap(true);
    auto* visit = new QLabel(QStringLiteral("The setup only takes a few minutes, to start just visit "), this);
    // On Linux the host is found through its registered deployment tool;
    // without this the box would leave an installed host's owner stuck.
    registerHint_ =
        new QLabel(QStringLiteral("If the Vantor host is installed on this computer, register its deployment "
                                  "tool with <code>netwarden deploy-tool PATH</code> (see <a "
                                  "href=\"install.html\">Installing Vantor</a> in the help)."),
                   this);
    registerHint_->setWordWrap(true);
    registerHint_->setTextFormat(Qt::RichText);
    connect(registerHint_, &QLabel::linkActivated, this, [this](const QString& page) {
        // Owned by the window behind the box, and the box closes: a modal box
        // would keep the page from being scrolled or clicked.
        auto* help = new HelpWindow(parentWidget());
        help->setAttribute(Qt::WA_DeleteOnClose);
        help->ShowPage(page);
        accept();
    });
    link_ = LayOutInformationDialog(*this, QStringLiteral("Vantor Information"), {notInstalled, registerHint_, visit},
                                    downloadUrl);
    setMinimumWidth(420);
}

}  // namespace vn

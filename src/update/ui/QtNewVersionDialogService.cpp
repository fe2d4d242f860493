#include "update/ui/QtNewVersionDialogService.h"

#include <QCoreApplication>
#include <QMetaObject>

#include "update/ui/CNewVersionDlg.h"

namespace vn {

void QtNewVersionDialogService::ShowNewVersionDialog(const std::string& downloadUrl) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application)
        return;
    const QString url = QString::fromStdString(downloadUrl);
    // Queued to the application object, so the dialog is built on its thread;
    // if the application goes away first, the call is simply dropped.
    QMetaObject::invokeMethod(application, [url] {
        auto* dialog = new CNewVersionDlg(url);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->show();
    });
}

}  // namespace vn

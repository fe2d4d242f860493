#include "app/panels/CMainInstallView.h"

#include <QPushButton>

#include "pictures/PictureIds.h"

namespace vn {

CMainInstallView::CMainInstallView(QWidget* parent)
    : SidePanel(picture::kInstallPanel, QStringLiteral("Install Vantor"), parent),
      install_(new QPushButton(QStringLiteral("Install..."), this)) {
    install_->setObjectName(QStringLiteral("install"));
    AddText(
        QStringLiteral("Keep your network secure by using Vantor.  With Netwarden you can deploy Vantor to "
                       "computers on your network for secure remote access.  "));
    SetBandButton(install_);
    connect(install_, &QPushButton::clicked, this, &CMainInstallView::installRequested);
}

}  // namespace vn

#pragma once

#include "app/panels/SidePanel.h"

class QPushButton;

namespace vn {

// The install panel: a word on deploying Vantor and the Install button.
class CMainInstallView final : public SidePanel {
    Q_OBJECT
public:
    explicit CMainInstallView(QWidget* parent = nullptr);

    QPushButton* InstallButton() const { return install_; }

signals:
    void installRequested();

private:
    QPushButton* install_;
};

}  // namespace vn

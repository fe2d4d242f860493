#pragma once

#include "app/panels/SidePanel.h"

class QPushButton;

namespace vn {

class HyperlinkLabel;

// The policy panel: what Vantor's group policies are for, a link to the
// policy template and the button that checks one computer's policies.
class CMainPolicyView final : public SidePanel {
    Q_OBJECT
public:
    explicit CMainPolicyView(QWidget* parent = nullptr);

    HyperlinkLabel* GroupPoliciesLink() const { return link_; }
    QPushButton* CheckPoliciesButton() const { return check_; }

signals:
    // The link: the Group Policy command.
    void groupPolicyRequested();
    // The button: the check of the selected computer.
    void checkPoliciesRequested();

private:
    HyperlinkLabel* link_;
    QPushButton* check_;
};

}  // namespace vn

#include "app/panels/CMainPolicyView.h"

#include <QPushButton>

#include "pictures/PictureIds.h"
#include "ui/HyperlinkLabel.h"

namespace vn {

CMainPolicyView::CMainPolicyView(QWidget* parent)
    : SidePanel(picture::kPolicyPanel, QStringLiteral("Check Group Policies"), parent),
      link_(new HyperlinkLabel(QStringLiteral("Vantor group policies"), this)),
      check_(new QPushButton(QStringLiteral("Check policies..."), this)) {
    link_->setObjectName(QStringLiteral("groupPoliciesLink"));
    check_->setObjectName(QStringLiteral("checkPolicies"));
    AddText(
        QStringLiteral("Vantor conforms to even the strictest corporate security requirements. Use Vantor "
                       "group policies to define permissions and security settings appropriate for your "
                       "organization."));
    AddControl(link_);
    AddText(QStringLiteral("Select a computer and check Vantor policies for that computer and current user."));
    SetBandButton(check_);
    connect(link_, &HyperlinkLabel::clicked, this, &CMainPolicyView::groupPolicyRequested);
    connect(check_, &QPushButton::clicked, this, &CMainPolicyView::checkPoliciesRequested);
}

}  // namespace vn

#include "manage/ui/PolicyCheckCommand.h"

#include <QObject>
#include <memory>

#include "core/MessageBoxService.h"
#include "manage/ui/CVtrPoliciesDlg.h"
#include "manage/ui/RemoteCallRunner.h"

namespace vn {

void RunPolicyCheckCommand(Platform& platform, const std::string& computer, QWidget* parent,
                           const std::function<void()>& learnMore) {
    std::unique_ptr<PolicyCheck> check;
    Status code = ERROR_SUCCESS;
    {
        QObject owner;
        RemoteCallRunner runner(&owner);
        runner.Run([&] {
            // Asking a computer for its workgroup is a remote call too.
            check = computer.empty() ? std::make_unique<PolicyCheck>(platform)
                                     : std::make_unique<PolicyCheck>(platform, computer);
            code = check->Run();
        });
    }
    if (code != ERROR_SUCCESS) {
        ShowMessage(kAppCaption, PolicyCheckFailureText(code), MessageIcon::None);
        return;
    }
    if (!check->RunMessage().empty())
        ShowMessage(kAppCaption, check->RunMessage(), MessageIcon::None);
    CVtrPoliciesDlg dialog(platform, *check, parent);
    QObject::connect(&dialog, &CVtrPoliciesDlg::learnMoreRequested, &dialog, [&] {
        if (learnMore)
            learnMore();
    });
    dialog.exec();
}

}  // namespace vn

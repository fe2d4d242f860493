#pragma once

#include "update/NewVersionDialogService.h"

namespace vn {

// Shows CNewVersionDlg on the user-interface thread, whichever thread asks:
// the call returns at once and the dialog stays open without blocking the
// rest of the program, deleting itself when closed.
class QtNewVersionDialogService final : public NewVersionDialogService {
public:
    void ShowNewVersionDialog(const std::string& downloadUrl) override;
};

}  // namespace vn

#pragma once

#include <string>

namespace vn {

// Shows the "New version warning" dialog. The version check calls it from its
// own thread; an implementation that needs the user-interface thread hands
// the dialog over to it. Tests install a recording one.
class NewVersionDialogService {
public:
    virtual ~NewVersionDialogService() = default;
    virtual void ShowNewVersionDialog(const std::string& downloadUrl) = 0;
};

}  // namespace vn

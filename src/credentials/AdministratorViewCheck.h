#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/Registry.h"
#include "platform/smb/pool/SmbCredentials.h"

namespace vn {

enum class AdministratorView { Reached, NotAdministrator, NotReached };

struct AdministratorViewResult {
    AdministratorView view = AdministratorView::NotReached;
    Status status = ERROR_SUCCESS;  // the failure when the view was not reached
    std::string text;               // one line for the credentials dialog
};

// Opens the remote registry of computer and its machine's SOFTWARE key for
// writing, which only administrators may: reached when that open succeeds,
// not as an administrator when only reading is allowed. Nothing is written.
AdministratorViewResult CheckAdministratorView(Registry& registry, const std::string& computer);

// The check as the credentials dialog runs it, on a thread of its own: with
// the credentials given, or with the identity in use when there are none.
using AdministratorViewTest = std::function<AdministratorViewResult(
    const std::optional<smb::SmbCredentials>& credentials, const std::string& computer)>;

}  // namespace vn

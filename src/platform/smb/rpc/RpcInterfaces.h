#pragma once

#include <tuple>
#include <utility>

#include "platform/smb/rpc/Lsarpc.h"
#include "platform/smb/rpc/Srvsvc.h"
#include "platform/smb/rpc/Svcctl.h"
#include "platform/smb/rpc/Winreg.h"
#include "platform/smb/rpc/Wkssvc.h"

// Every interface this side speaks, for what walks all their calls (the
// response fuzzer, the tests): a call added to a table is walked with it.
namespace vn::smb {

using AllResponses =
    decltype(std::tuple_cat(std::declval<winreg::Calls::Responses>(), std::declval<svcctl::Calls::Responses>(),
                            std::declval<lsarpc::Calls::Responses>(), std::declval<srvsvc::Calls::Responses>(),
                            std::declval<wkssvc::Calls::Responses>()));

}  // namespace vn::smb

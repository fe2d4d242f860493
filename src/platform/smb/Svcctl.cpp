#include "platform/smb/Svcctl.h"

namespace vn::smb::svcctl {

const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("367abb81-9844-35f1-ad32-98f038001003", 2, 0);
    return id;
}

}  // namespace vn::smb::svcctl

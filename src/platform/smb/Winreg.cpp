#include "platform/smb/Winreg.h"

namespace vn::smb::winreg {

const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("338cd001-2244-31f1-aaaa-900038001003", 1, 0);
    return id;
}

}  // namespace vn::smb::winreg

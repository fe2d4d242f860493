#include "platform/smb/Srvsvc.h"

namespace vn::smb::srvsvc {

const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("4b324fc8-1670-01d3-1278-5a47bf6ee188", 3, 0);
    return id;
}

}  // namespace vn::smb::srvsvc

#include "platform/smb/Wkssvc.h"

namespace vn::smb::wkssvc {

const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("6bffd098-a112-3610-9833-46c3f87e345a", 1, 0);
    return id;
}

}  // namespace vn::smb::wkssvc

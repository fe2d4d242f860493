#include "platform/smb/Lsarpc.h"

namespace vn::smb::lsarpc {

const RpcSyntaxId& Interface() {
    static const RpcSyntaxId id = RpcSyntaxId::FromString("12345778-1234-abcd-ef00-0123456789ab", 0, 0);
    return id;
}

}  // namespace vn::smb::lsarpc

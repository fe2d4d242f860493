#include "platform/smb/pool/TicketPrincipal.h"

#include <krb5.h>

namespace vn::smb {

std::string TicketPrincipal() {
    krb5_context context = nullptr;
    if (krb5_init_context(&context) != 0)
        return {};
    std::string result;
    krb5_ccache cache = nullptr;
    if (krb5_cc_default(context, &cache) == 0) {
        krb5_principal principal = nullptr;
        if (krb5_cc_get_principal(context, cache, &principal) == 0) {
            char* name = nullptr;
            if (krb5_unparse_name(context, principal, &name) == 0) {
                result = name;
                krb5_free_unparsed_name(context, name);
            }
            krb5_free_principal(context, principal);
        }
        krb5_cc_close(context, cache);
    }
    krb5_free_context(context);
    return result;
}

}  // namespace vn::smb

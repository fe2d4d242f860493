#include "platform/directory/LdapSession.h"

#include <ldap.h>
#include <sasl/sasl.h>
#include <sys/time.h>
#include <algorithm>

#include "platform/RemoteDeadline.h"

namespace vn::directory {
namespace {

constexpr Status ERROR_NO_SUCH_LOGON_SESSION = 1312;
constexpr Status kSemaphoreTimeout = 121;  // as a remote call that outlives its limit
constexpr const char* kFilter =
    "(&(|(objectClass=organizationalUnit)(objectClass=container)(objectClass=computer))"
    "(!(showInAdvancedViewOnly=TRUE)))";

timeval ToTimeval(std::chrono::milliseconds limit) {
    const auto ms = std::max<std::int64_t>(limit.count(), 1);
    return timeval{static_cast<time_t>(ms / 1000), static_cast<suseconds_t>((ms % 1000) * 1000)};
}

// What is left of the call limit, or of the thread's remote deadline.
timeval CallTimeout(std::chrono::milliseconds limit) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(RemoteDeadlineScope::CallDeadline(limit) -
                                                                            RemoteDeadlineScope::Clock::now());
    return ToTimeval(left);
}

// GSSAPI asks for nothing interactively: the ticket cache says who we are.
int NoInteraction(LDAP*, unsigned, void*, void* prompts) {
    for (auto* prompt = static_cast<sasl_interact_t*>(prompts); prompt && prompt->id != SASL_CB_LIST_END; ++prompt) {
        prompt->result = prompt->defresult ? prompt->defresult : "";
        prompt->len = static_cast<unsigned>(std::char_traits<char>::length(static_cast<const char*>(prompt->result)));
    }
    return LDAP_SUCCESS;
}

std::string BindName(const smb::SmbCredentials& credentials, const std::string& dnsDomain) {
    if (!credentials.Domain().empty())
        return credentials.Domain() + "\\" + credentials.User();
    if (credentials.User().find('@') != std::string::npos)
        return credentials.User();
    return credentials.User() + "@" + dnsDomain;
}

std::string FirstValue(LDAP* ld, LDAPMessage* entry, const char* attribute) {
    berval** values = ldap_get_values_len(ld, entry, attribute);
    std::string value;
    if (values && values[0])
        value.assign(values[0]->bv_val, values[0]->bv_len);
    ldap_value_free_len(values);
    return value;
}

std::vector<std::string> AllValues(LDAP* ld, LDAPMessage* entry, const char* attribute) {
    berval** values = ldap_get_values_len(ld, entry, attribute);
    std::vector<std::string> out;
    for (int i = 0; values && values[i]; ++i)
        out.emplace_back(values[i]->bv_val, values[i]->bv_len);
    ldap_value_free_len(values);
    return out;
}

DirectoryEntry ReadEntry(LDAP* ld, LDAPMessage* message) {
    DirectoryEntry out;
    if (char* dn = ldap_get_dn(ld, message)) {
        out.dn = dn;
        ldap_memfree(dn);
    }
    out.objectClasses = AllValues(ld, message, "objectClass");
    out.dnsHostName = FirstValue(ld, message, "dNSHostName");
    out.userAccountControl = FirstValue(ld, message, "userAccountControl");
    return out;
}

int LastError(LDAP* ld) {
    int error = LDAP_OTHER;
    ldap_get_option(ld, LDAP_OPT_RESULT_CODE, &error);
    return error;
}

// The result that ends a page: its code, and the paging cookie that reads
// on (left empty after the last page).
Status ReadPageEnd(LDAP* ld, LDAPMessage* message, std::string& cookie) {
    LDAPControl** returned = nullptr;
    int code = LDAP_SUCCESS;
    const int result = ldap_parse_result(ld, message, &code, nullptr, nullptr, nullptr, &returned, 0);
    if (result == LDAP_SUCCESS && code == LDAP_SUCCESS) {
        if (LDAPControl* response = ldap_control_find(LDAP_CONTROL_PAGEDRESULTS, returned, nullptr)) {
            ber_int_t estimate = 0;
            berval next{0, nullptr};
            if (ldap_parse_pageresponse_control(ld, response, &estimate, &next) == LDAP_SUCCESS && next.bv_val) {
                cookie.assign(next.bv_val, next.bv_len);
                ber_memfree(next.bv_val);
            }
        }
    }
    ldap_controls_free(returned);
    return LdapStatus(result == LDAP_SUCCESS ? code : result);
}

}  // namespace

bool PageBudget::Take(const DirectoryEntry& entry) {
    std::size_t size = entry.dn.size() + entry.dnsHostName.size() + entry.userAccountControl.size();
    for (const std::string& objectClass : entry.objectClasses)
        size += objectClass.size();
    if (entriesLeft == 0 || size > bytesLeft)
        return false;
    --entriesLeft;
    bytesLeft -= size;
    return true;
}

Status LdapStatus(int ldapResult) {
    switch (ldapResult) {
    case LDAP_SUCCESS: return ERROR_SUCCESS;
    case LDAP_INVALID_CREDENTIALS:
    case LDAP_INAPPROPRIATE_AUTH:
    case LDAP_STRONG_AUTH_REQUIRED:
    case LDAP_INSUFFICIENT_ACCESS:
    case LDAP_CONFIDENTIALITY_REQUIRED:
    case LDAP_UNWILLING_TO_PERFORM: return ERROR_ACCESS_DENIED;
    case LDAP_TIMEOUT:
    case LDAP_TIMELIMIT_EXCEEDED: return kSemaphoreTimeout;
    case LDAP_NO_SUCH_OBJECT: return ERROR_BAD_NET_NAME;
    case LDAP_NO_MEMORY: return ERROR_NOT_ENOUGH_MEMORY;
    default: return ERROR_BAD_NETPATH;  // down, unreachable, refused, or no protocol we share
    }
}

LdapSession::~LdapSession() { Close(); }

void LdapSession::Close() {
    if (ld_)
        ldap_unbind_ext_s(ld_, nullptr, nullptr);
    ld_ = nullptr;
}

Status LdapSession::Open(const std::vector<std::string>& hosts, const std::string& dnsDomain,
                         const smb::SmbCredentials& credentials, const DirectoryOptions& options) {
    options_ = options;
    const bool ticket = credentials.UseKerberos() && smb::SmbCredentials::TicketCacheExists();
    if (!ticket && credentials.Password().empty())
        return ERROR_NO_SUCH_LOGON_SESSION;
    Status status = ERROR_BAD_NETPATH;
    for (const std::string& host : hosts) {
        status = Connect(host, dnsDomain, credentials);
        // A refused logon is the same on every controller of the domain.
        if (status == ERROR_SUCCESS || status == ERROR_ACCESS_DENIED || status == ERROR_NO_SUCH_LOGON_SESSION)
            return status;
    }
    return status;
}

Status LdapSession::Initialize(const std::string& uri) {
    Close();
    if (ldap_initialize(&ld_, uri.c_str()) != LDAP_SUCCESS || !ld_)
        return ERROR_BAD_NETPATH;
    const int version = LDAP_VERSION3;
    const timeval limit = CallTimeout(options_.callLimit);
    ldap_set_option(ld_, LDAP_OPT_PROTOCOL_VERSION, &version);
    ldap_set_option(ld_, LDAP_OPT_REFERRALS, LDAP_OPT_OFF);
    ldap_set_option(ld_, LDAP_OPT_NETWORK_TIMEOUT, &limit);
    ldap_set_option(ld_, LDAP_OPT_TIMEOUT, &limit);
    // The service principal is ldap/<the name we were given>, not whatever a
    // reverse lookup of the address says.
    ldap_set_option(ld_, LDAP_OPT_X_SASL_NOCANON, LDAP_OPT_ON);
    // No message of the directory may be larger than this: libldap reads a
    // whole message into memory before it hands it on.
    Sockbuf* socket = nullptr;
    ber_len_t maxMessage = options_.maxMessageBytes;
    if (ldap_get_option(ld_, LDAP_OPT_SOCKBUF, &socket) != LDAP_OPT_SUCCESS || !socket ||
        ber_sockbuf_ctrl(socket, LBER_SB_OPT_SET_MAX_INCOMING, &maxMessage) != 1)
        return ERROR_NOT_ENOUGH_MEMORY;
    return ERROR_SUCCESS;
}

Status LdapSession::Connect(const std::string& host, const std::string& dnsDomain,
                            const smb::SmbCredentials& credentials) {
    const std::string uri = "ldap://" + host;
    if (Status status = Initialize(uri); status != ERROR_SUCCESS)
        return status;
    if (credentials.UseKerberos() && smb::SmbCredentials::TicketCacheExists()) {
        const int result = ldap_sasl_interactive_bind_s(ld_, nullptr, "GSSAPI", nullptr, nullptr, LDAP_SASL_QUIET,
                                                        NoInteraction, nullptr);
        if (result == LDAP_SUCCESS)
            return ERROR_SUCCESS;
        if (result == LDAP_SERVER_DOWN || result == LDAP_TIMEOUT)
            return LdapStatus(result);
        // No usable ticket for this service: the password may still do.
        if (credentials.Password().empty())
            return ERROR_NO_SUCH_LOGON_SESSION;
        if (Status status = Initialize(uri); status != ERROR_SUCCESS)
            return status;
    }
    // The password travels only inside TLS.
    int result = ldap_start_tls_s(ld_, nullptr, nullptr);
    if (result != LDAP_SUCCESS)
        return LdapStatus(result);
    const std::string who = BindName(credentials, dnsDomain);
    berval password{static_cast<ber_len_t>(credentials.Password().size()),
                    const_cast<char*>(credentials.Password().data())};
    result = ldap_sasl_bind_s(ld_, who.c_str(), LDAP_SASL_SIMPLE, &password, nullptr, nullptr, nullptr);
    return LdapStatus(result);
}

Status LdapSession::SearchPage(const std::string& base, std::string& cookie, std::vector<DirectoryEntry>& entries) {
    if (!ld_)
        return ERROR_INVALID_HANDLE;
    berval cookieValue{static_cast<ber_len_t>(cookie.size()), cookie.data()};
    LDAPControl* pageControl = nullptr;
    int result =
        ldap_create_page_control(ld_, options_.pageSize, cookie.empty() ? nullptr : &cookieValue, 0, &pageControl);
    if (result != LDAP_SUCCESS)
        return LdapStatus(result);
    LDAPControl* serverControls[] = {pageControl, nullptr};
    char objectClass[] = "objectClass", dnsHostName[] = "dNSHostName", uac[] = "userAccountControl";
    char* attributes[] = {objectClass, dnsHostName, uac, nullptr};
    timeval timeout = CallTimeout(options_.callLimit);
    int messageId = 0;
    result = ldap_search_ext(ld_, base.c_str(), LDAP_SCOPE_ONELEVEL, kFilter, attributes, 0, serverControls, nullptr,
                             &timeout, options_.pageSize, &messageId);
    ldap_control_free(pageControl);
    cookie.clear();
    if (result != LDAP_SUCCESS)
        return LdapStatus(result);
    // The entries are taken one message at a time, so that a page never
    // holds more than was asked for, whatever the directory sends.
    PageBudget budget{static_cast<std::size_t>(std::max(options_.pageSize, 1)), options_.maxPageBytes};
    for (;;) {
        timeout = CallTimeout(options_.callLimit);
        LDAPMessage* message = nullptr;
        const int type = ldap_result(ld_, messageId, LDAP_MSG_ONE, &timeout, &message);
        if (type == 0 || type == -1) {
            ldap_msgfree(message);
            (void)ldap_abandon_ext(ld_, messageId, nullptr, nullptr);  // the page is given up either way
            return type == 0 ? kSemaphoreTimeout : LdapStatus(LastError(ld_));
        }
        if (type == LDAP_RES_SEARCH_ENTRY) {
            DirectoryEntry entry = ReadEntry(ld_, message);
            ldap_msgfree(message);
            if (!budget.Take(entry)) {
                (void)ldap_abandon_ext(ld_, messageId, nullptr, nullptr);  // the rest is not read
                return ERROR_NOT_ENOUGH_MEMORY;
            }
            entries.push_back(std::move(entry));
            continue;
        }
        if (type != LDAP_RES_SEARCH_RESULT) {  // references and the like: not followed
            ldap_msgfree(message);
            continue;
        }
        const Status status = ReadPageEnd(ld_, message, cookie);
        ldap_msgfree(message);
        return status;
    }
}

}  // namespace vn::directory

#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace vn {

// Who sits at a computer: of the users logged on there (the workstation
// service counts network sessions too), the first whose hive holds a
// "SessionInformation" key, which only an interactive logon creates.
struct InteractiveUserSearch {
    enum Outcome {
        Found,            // name and sid are set
        NoneFound,        // nobody qualifies
        NoMapping,        // nobody qualifies and the last account lookup had no mapping (1332)
        HiveUnavailable,  // the computer's HKEY_USERS could not be reached
    };

    Outcome outcome = NoneFound;
    std::string name;
    std::string sid;  // "S-1-5-21-..."
};

// Bounds of the logged-on users asked for: each name costs account
// look-ups, and a workstation service may answer "more" for ever.
inline constexpr std::size_t kMaxLoggedOnUserRounds = 64;
inline constexpr std::size_t kMaxLoggedOnUsers = 1024;

// The names of the users logged on at the computer, in the order reported,
// batch after batch, the first kMaxLoggedOnUsers of at most
// kMaxLoggedOnUserRounds batches. A status other than 0 ends the enumeration.
Status EnumerateLoggedOnUsers(Platform& platform, const std::string& computer, std::vector<std::string>& names);

// Keeps one copy of each name (exact comparison): the last one, in its place.
void RemoveRepeatedNames(std::vector<std::string>& names);

// Where the computer keeps the accounts of the users logged on at it: its
// domain or workgroup, and its own account database, named after itself.
struct AccountDomains {
    std::string workgroup;
    std::string computerName;  // as the computer names itself; may be empty
};

// The SID text of a user as the computer looks it up: workgroup\user, and
// when that has no mapping, the computer's own account of that name.
Status LookupUserSid(Platform& platform, const std::string& computer, const AccountDomains& domains,
                     const std::string& user, std::string& sid);

// Searches names in order; users is the computer's HKEY_USERS, or null when it
// could not be reached.
InteractiveUserSearch FindInteractiveUser(Platform& platform, const std::string& computer,
                                          const AccountDomains& domains, RegistryKey* users,
                                          const std::vector<std::string>& names);

}  // namespace vn

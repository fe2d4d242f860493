#include "manage/InteractiveUser.h"

#include <algorithm>

namespace vn {

Status EnumerateLoggedOnUsers(Platform& platform, const std::string& computer, std::vector<std::string>& names) {
    std::uint32_t resume = 0;
    Status status = ERROR_MORE_DATA;
    // A workstation service that keeps saying "more" ends here with what it
    // gave so far.
    for (std::size_t round = 0;
         status == ERROR_MORE_DATA && round < kMaxLoggedOnUserRounds && names.size() < kMaxLoggedOnUsers; ++round) {
        std::vector<WkstaUserInfo1> batch;
        status = platform.netInfo().NetWkstaUserEnum1(computer, batch, resume);
        if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA)
            return status;
        for (std::size_t i = 0; i < batch.size() && names.size() < kMaxLoggedOnUsers; ++i)
            names.push_back(std::move(batch[i].userName));
    }
    return ERROR_SUCCESS;
}

void RemoveRepeatedNames(std::vector<std::string>& names) {
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (std::find(names.begin() + static_cast<std::ptrdiff_t>(i) + 1, names.end(), names[i]) == names.end())
            kept.push_back(std::move(names[i]));
    }
    names = std::move(kept);
}

Status LookupUserSid(Platform& platform, const std::string& computer, const AccountDomains& domains,
                     const std::string& user, std::string& sid) {
    sid.clear();
    Sid found;
    std::string referencedDomain;
    SidNameUse use{};
    // The computer's domain first, for the domain users of a member. A
    // computer of a workgroup knows no accounts of that name: its users are
    // its own, and so are the local users of a member.
    Status status =
        platform.accounts().LookupAccountName(computer, domains.workgroup + "\\" + user, found, referencedDomain, use);
    if (status == ERROR_NONE_MAPPED && !domains.computerName.empty() && domains.computerName != domains.workgroup)
        status = platform.accounts().LookupAccountName(computer, domains.computerName + "\\" + user, found,
                                                       referencedDomain, use);
    if (status == ERROR_SUCCESS)
        sid = ConvertSidToStringSid(found);
    return status;
}

InteractiveUserSearch FindInteractiveUser(Platform& platform, const std::string& computer,
                                          const AccountDomains& domains, RegistryKey* users,
                                          const std::vector<std::string>& names) {
    InteractiveUserSearch search;
    if (users == nullptr) {
        search.outcome = InteractiveUserSearch::HiveUnavailable;
        return search;
    }
    Status lastLookup = ERROR_SUCCESS;
    for (const std::string& name : names) {
        std::string sid;
        lastLookup = LookupUserSid(platform, computer, domains, name, sid);
        if (lastLookup != ERROR_SUCCESS)
            continue;
        RegistryKeyPtr session;
        if (users->OpenKey(sid + "\\SessionInformation", KEY_READ, session) == ERROR_SUCCESS) {
            search.outcome = InteractiveUserSearch::Found;
            search.name = name;
            search.sid = std::move(sid);
            return search;
        }
    }
    search.outcome =
        lastLookup == ERROR_NONE_MAPPED ? InteractiveUserSearch::NoMapping : InteractiveUserSearch::NoneFound;
    return search;
}

}  // namespace vn

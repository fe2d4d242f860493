#include "platform/directory/DomainControllers.h"

#include <arpa/inet.h>
#include <arpa/nameser.h>
#include <netinet/in.h>
#include <resolv.h>
#include <algorithm>
#include <cstring>

namespace vn::directory {
namespace {

constexpr int kAnswerBytes = 65536;

std::vector<SrvTarget> QuerySrv(const std::string& name, const DirectoryOptions& options) {
    struct __res_state state {};
    if (res_ninit(&state) != 0)
        return {};
    if (!options.nameServer.empty()) {
        sockaddr_in server{};
        server.sin_family = AF_INET;
        server.sin_port = htons(NS_DEFAULTPORT);
        if (inet_pton(AF_INET, options.nameServer.c_str(), &server.sin_addr) != 1) {
            res_nclose(&state);
            return {};
        }
        state.nsaddr_list[0] = server;
        state.nscount = 1;
    }
    // One try per server within the call limit.
    state.retrans = std::max(1, static_cast<int>(options.callLimit.count() / 1000 / std::max(1, state.nscount)));
    state.retry = 1;
    std::vector<unsigned char> answer(kAnswerBytes);
    const int length = res_nquery(&state, name.c_str(), ns_c_in, ns_t_srv, answer.data(), kAnswerBytes);
    res_nclose(&state);
    return length > 0 ? ParseSrvAnswer(answer.data(), length) : std::vector<SrvTarget>{};
}

}  // namespace

std::vector<SrvTarget> ParseSrvAnswer(const unsigned char* answer, int length) {
    std::vector<SrvTarget> targets;
    ns_msg message;
    if (ns_initparse(answer, length, &message) != 0)
        return targets;
    const int count = ns_msg_count(message, ns_s_an);
    for (int i = 0; i < count; ++i) {
        ns_rr record;
        if (ns_parserr(&message, ns_s_an, i, &record) != 0)
            break;
        if (ns_rr_type(record) != ns_t_srv || ns_rr_rdlen(record) < 7)
            continue;
        const unsigned char* data = ns_rr_rdata(record);
        SrvTarget target;
        target.priority = ns_get16(data);
        target.weight = ns_get16(data + 2);
        target.port = ns_get16(data + 4);
        char host[NS_MAXDNAME];
        if (dn_expand(ns_msg_base(message), ns_msg_end(message), data + 6, host, sizeof host) < 0)
            continue;
        target.host = host;
        if (!target.host.empty() && target.host != ".")
            targets.push_back(std::move(target));
    }
    std::stable_sort(targets.begin(), targets.end(), [](const SrvTarget& a, const SrvTarget& b) {
        return a.priority != b.priority ? a.priority < b.priority : a.weight > b.weight;
    });
    return targets;
}

std::vector<std::string> FindDomainControllers(const std::string& dnsDomain, const DirectoryOptions& options) {
    if (!options.controllers.empty())
        return options.controllers;
    std::vector<std::string> hosts;
    for (const std::string& name : {"_ldap._tcp.dc._msdcs." + dnsDomain, "_ldap._tcp." + dnsDomain}) {
        for (const SrvTarget& target : QuerySrv(name, options)) {
            if (std::find(hosts.begin(), hosts.end(), target.host) == hosts.end())
                hosts.push_back(target.host);
        }
        if (!hosts.empty())
            return hosts;
    }
    return {dnsDomain};
}

}  // namespace vn::directory

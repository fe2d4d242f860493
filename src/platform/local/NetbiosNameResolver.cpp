#include "platform/local/NetbiosNameResolver.h"

#include <arpa/inet.h>
#include <fnmatch.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <random>

#include "platform/local/NetbiosNamePacket.h"

namespace vn {
namespace {

constexpr const char* kDefaultResolveOrder = "lmhosts wins host bcast";
constexpr std::size_t kMaxPacket = 1024;  // the name service keeps to 576

enum class Outcome { Address, Negative, Silent };

struct SocketHolder {
    int fd;
    ~SocketHolder() {
        if (fd >= 0)
            close(fd);
    }
};

// Samba separates list entries with blanks or commas.
std::vector<std::string> ListEntries(const std::string& value) {
    std::vector<std::string> entries;
    std::string current;
    for (char c : value + ' ') {
        if (c == ' ' || c == '\t' || c == ',') {
            if (!current.empty())
                entries.push_back(current);
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    return entries;
}

std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool ParseAddress(const std::string& text, IPv4& address) {
    in_addr parsed{};
    if (inet_pton(AF_INET, text.c_str(), &parsed) != 1)
        return false;
    address = ntohl(parsed.s_addr);
    return true;
}

// "24" or "255.255.255.0".
bool ParseNetmask(const std::string& text, IPv4& mask) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (!text.empty() && text.size() <= 2 && std::all_of(text.begin(), text.end(), digit)) {
        const int bits = std::stoi(text);
        if (bits > 32)
            return false;
        mask = bits == 0 ? 0 : ~IPv4{0} << (32 - bits);
        return true;
    }
    return ParseAddress(text, mask);
}

void AddOnce(std::vector<IPv4>& list, IPv4 address) {
    if (std::find(list.begin(), list.end(), address) == list.end())
        list.push_back(address);
}

IPv4 BroadcastOf(IPv4 address, IPv4 mask) { return (address & mask) | ~mask; }

void AddInterfaceEntry(const std::string& entry, const std::vector<LocalInterface>& interfaces,
                       std::vector<IPv4>& broadcasts) {
    const std::string pattern = entry.substr(0, entry.find(';'));  // ";speed=..." and the like
    const auto slash = pattern.find('/');
    IPv4 address = 0;
    if (slash != std::string::npos) {
        IPv4 mask = 0;
        if (ParseAddress(pattern.substr(0, slash), address) && ParseNetmask(pattern.substr(slash + 1), mask))
            AddOnce(broadcasts, BroadcastOf(address, mask));
        return;
    }
    const bool isAddress = ParseAddress(pattern, address);
    for (const LocalInterface& local : interfaces) {
        const bool matches =
            isAddress ? local.address == address : fnmatch(pattern.c_str(), local.name.c_str(), 0) == 0;
        if (matches)
            AddOnce(broadcasts, BroadcastOf(local.address, local.netmask));
    }
}

std::uint16_t NewTransactionId() {
    static std::atomic<std::uint16_t> next{static_cast<std::uint16_t>(std::random_device{}())};
    return next.fetch_add(1, std::memory_order_relaxed);
}

// Sends the query to one address and waits for its answer.
Outcome Ask(const NameResolution& resolution, IPv4 to, bool broadcast, std::string_view name, IPv4& address) {
    SocketHolder socket{::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)};
    if (socket.fd < 0)
        return Outcome::Silent;
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(resolution.port);
    target.sin_addr.s_addr = htonl(to);
    const int on = 1;
    if (broadcast) {
        if (setsockopt(socket.fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0)
            return Outcome::Silent;
    } else if (connect(socket.fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
        return Outcome::Silent;  // a connected socket learns at once when nothing listens there
    }
    const std::uint16_t id = NewTransactionId();
    const std::vector<std::uint8_t> query = EncodeNameQuery(id, name, kNetbiosServerType, broadcast);
    std::uint8_t packet[kMaxPacket];
    for (int attempt = 0; attempt < resolution.attempts; ++attempt) {
        if (sendto(socket.fd, query.data(), query.size(), 0,
                   broadcast ? reinterpret_cast<const sockaddr*>(&target) : nullptr, broadcast ? sizeof target : 0) < 0)
            return Outcome::Silent;
        const auto deadline = std::chrono::steady_clock::now() + resolution.wait;
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0)
                break;
            pollfd entry{socket.fd, POLLIN, 0};
            const int ready = poll(&entry, 1, static_cast<int>(left.count()));
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                break;
            const ssize_t got = recv(socket.fd, packet, sizeof packet, 0);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return Outcome::Silent;  // e.g. refused: no name server at that address
            }
            const auto answer = DecodeNameQueryResponse(std::span(packet, static_cast<std::size_t>(got)), id, name,
                                                        kNetbiosServerType, address);
            if (answer == NameQueryAnswer::Positive)
                return Outcome::Address;
            // A WINS server's "no such name" is final; on a broadcast only
            // the owner of the name answers, so a refusal from elsewhere is
            // no verdict.
            if (answer == NameQueryAnswer::Negative && !broadcast)
                return Outcome::Negative;
        }
    }
    return Outcome::Silent;
}

}  // namespace

std::vector<LocalInterface> ListLocalInterfaces() {
    std::vector<LocalInterface> interfaces;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return interfaces;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !entry->ifa_netmask)
            continue;
        LocalInterface local;
        local.name = entry->ifa_name ? entry->ifa_name : "";
        local.address = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr.s_addr);
        local.netmask = ntohl(reinterpret_cast<const sockaddr_in*>(entry->ifa_netmask)->sin_addr.s_addr);
        local.canBroadcast = (entry->ifa_flags & IFF_BROADCAST) != 0 && (entry->ifa_flags & IFF_LOOPBACK) == 0;
        interfaces.push_back(local);
    }
    freeifaddrs(list);
    return interfaces;
}

NameResolution NameResolutionFromSamba(const std::map<std::string, std::string>& parameters,
                                       const std::vector<LocalInterface>& interfaces) {
    auto value = [&](const char* name) {
        const auto found = parameters.find(name);
        return found != parameters.end() ? found->second : std::string();
    };
    NameResolution resolution;
    const auto order = parameters.count("nameresolveorder") ? value("nameresolveorder") : kDefaultResolveOrder;
    for (const std::string& method : ListEntries(Lower(order))) {
        if (method == "host")
            resolution.order.push_back(NameResolution::Method::Host);
        else if (method == "wins")
            resolution.order.push_back(NameResolution::Method::Wins);
        else if (method == "bcast")
            resolution.order.push_back(NameResolution::Method::Broadcast);
    }
    for (const std::string& server : ListEntries(value("winsserver"))) {
        IPv4 address = 0;
        if (ParseAddress(server.substr(server.find(':') + 1), address) && address != 0)
            AddOnce(resolution.winsServers, address);
    }
    const std::vector<std::string> configured = ListEntries(value("interfaces"));
    for (const std::string& entry : configured)
        AddInterfaceEntry(entry, interfaces, resolution.broadcastAddresses);
    if (configured.empty()) {
        for (const LocalInterface& local : interfaces)
            if (local.canBroadcast)
                AddOnce(resolution.broadcastAddresses, BroadcastOf(local.address, local.netmask));
    }
    return resolution;
}

IPv4 QueryNetbiosName(const NameResolution& resolution, NameResolution::Method method, std::string_view name) {
    if (!IsNetbiosName(name))
        return 0;
    IPv4 address = 0;
    if (method == NameResolution::Method::Wins) {
        for (IPv4 server : resolution.winsServers) {
            const Outcome outcome = Ask(resolution, server, false, name, address);
            if (outcome == Outcome::Address)
                return address;
            if (outcome == Outcome::Negative)
                break;  // the next server holds the same database
        }
    } else if (method == NameResolution::Method::Broadcast) {
        for (IPv4 broadcast : resolution.broadcastAddresses) {
            if (Ask(resolution, broadcast, true, name, address) == Outcome::Address)
                return address;
        }
    }
    return 0;
}

}  // namespace vn

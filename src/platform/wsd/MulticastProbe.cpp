#include "platform/wsd/MulticastProbe.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "platform/wsd/WsdMessages.h"

namespace vn::wsd {
namespace {

constexpr const char* kMulticastGroup = "239.255.255.250";
constexpr std::uint16_t kDiscoveryPort = 3702;
// SOAP-over-UDP sends each multicast message more than once, as UDP may lose it.
constexpr int kRepeats = 2;

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    Socket(Socket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Socket& operator=(Socket&&) = delete;
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket() {
        if (fd_ >= 0)
            close(fd_);
    }
    int Fd() const { return fd_; }

private:
    int fd_;
};

// A socket bound to one interface's address that multicasts from there.
std::vector<Socket> OpenInterfaceSockets() {
    std::vector<Socket> sockets;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return sockets;
    std::set<in_addr_t> seen;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        const unsigned flags = entry->ifa_flags;
        if (!(flags & IFF_UP) || !(flags & IFF_MULTICAST) || (flags & IFF_LOOPBACK))
            continue;
        sockaddr_in local = *reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        if (!seen.insert(local.sin_addr.s_addr).second)
            continue;
        Socket socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
        if (socket.Fd() < 0)
            continue;
        local.sin_port = 0;
        const unsigned char ttl = 1;
        if (bind(socket.Fd(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
            setsockopt(socket.Fd(), IPPROTO_IP, IP_MULTICAST_IF, &local.sin_addr, sizeof local.sin_addr) != 0 ||
            setsockopt(socket.Fd(), IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl) != 0)
            continue;
        // Room for a burst of answers (a hostile host's flood among them)
        // while the loop parses; the system may grant less.
        const int receiveBuffer = 1 << 20;
        (void)setsockopt(socket.Fd(), SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
        sockets.push_back(std::move(socket));
    }
    freeifaddrs(list);
    return sockets;
}

bool SendMulticast(const Socket& socket, const std::string& message) {
    sockaddr_in group{};
    group.sin_family = AF_INET;
    group.sin_port = htons(kDiscoveryPort);
    inet_pton(AF_INET, kMulticastGroup, &group.sin_addr);
    bool sent = false;
    for (int i = 0; i < kRepeats; ++i)
        sent = sendto(socket.Fd(), message.data(), message.size(), 0, reinterpret_cast<const sockaddr*>(&group),
                      sizeof group) == static_cast<ssize_t>(message.size()) ||
               sent;
    return sent;
}

// The endpoints found so far, with the caps and the Resolves in flight.
class Collection {
public:
    explicit Collection(const ProbeLimits& limits) : limits_(limits) {}

    // The entry of (source, endpoint), made when the caps allow; null else.
    AnsweredEndpoint* Entry(IPv4 source, const std::string& endpoint) {
        const auto key = std::make_pair(source, endpoint);
        if (const auto found = index_.find(key); found != index_.end())
            return &entries_[found->second];
        if (entries_.size() >= limits_.maxEndpoints || perAddress_[source] >= limits_.maxEndpointsPerAddress)
            return nullptr;
        ++perAddress_[source];
        index_.emplace(key, entries_.size());
        entries_.push_back({source, endpoint, {}});
        return &entries_.back();
    }
    AnsweredEndpoint* Known(IPv4 source, const std::string& endpoint) {
        const auto found = index_.find(std::make_pair(source, endpoint));
        return found == index_.end() ? nullptr : &entries_[found->second];
    }
    std::vector<AnsweredEndpoint> Take() { return std::move(entries_); }

private:
    const ProbeLimits& limits_;
    std::vector<AnsweredEndpoint> entries_;
    std::map<std::pair<IPv4, std::string>, std::size_t> index_;
    std::map<IPv4, std::size_t> perAddress_;
};

}  // namespace

Status ProbeNetwork(const ProbeLimits& limits, std::vector<AnsweredEndpoint>& found) {
    found.clear();
    const std::vector<Socket> sockets = OpenInterfaceSockets();
    std::set<std::string> ourMessages;
    const std::string probeId = NewMessageId();
    ourMessages.insert(probeId);
    const std::string probe = ProbeMessage(probeId);
    bool sentAny = false;
    for (const Socket& socket : sockets)
        sentAny = SendMulticast(socket, probe) || sentAny;
    if (!sentAny)
        return ERROR_NO_NETWORK;

    Collection collection(limits);
    // Endpoints whose address is asked for, with the socket they answered on.
    std::map<std::pair<IPv4, std::string>, std::size_t> resolving;
    std::vector<pollfd> polled;
    polled.reserve(sockets.size());
    for (const Socket& socket : sockets)
        polled.push_back({socket.Fd(), POLLIN, 0});
    std::string buffer(kMaxDatagramBytes + 1, '\0');
    const auto started = std::chrono::steady_clock::now();
    const auto deadline = started + limits.wait;
    // Halfway, the Probe and the Resolves not yet answered go out once more,
    // under new message ids (peers drop a repeated id): a flood from one host
    // can overrun the socket's buffer and cost other hosts their answers.
    const auto askAgainAt = started + limits.wait / 2;
    bool askedAgain = false;
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (!askedAgain && now >= askAgainAt) {
            askedAgain = true;
            const std::string againId = NewMessageId();
            ourMessages.insert(againId);
            const std::string again = ProbeMessage(againId);
            for (const Socket& socket : sockets)
                (void)SendMulticast(socket, again);
            for (const auto& [key, socketIndex] : resolving) {
                const AnsweredEndpoint* entry = collection.Known(key.first, key.second);
                if (entry && entry->xaddrs.empty()) {
                    const std::string resolveId = NewMessageId();
                    ourMessages.insert(resolveId);
                    (void)SendMulticast(sockets[socketIndex], ResolveMessage(resolveId, key.second));
                }
            }
        }
        const auto wakeAt = askedAgain ? deadline : std::min(deadline, askAgainAt);
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(wakeAt - now).count();
        if (now >= deadline)
            break;
        if (poll(polled.data(), polled.size(), static_cast<int>(std::max<long long>(left, 0))) <= 0)
            continue;
        for (std::size_t i = 0; i < polled.size(); ++i) {
            if (!(polled[i].revents & POLLIN))
                continue;
            for (;;) {
                sockaddr_in from{};
                socklen_t fromLength = sizeof from;
                // MSG_TRUNC gives the datagram's real length, so one longer
                // than the cap is recognised and dropped.
                const ssize_t length = recvfrom(polled[i].fd, buffer.data(), buffer.size(), MSG_TRUNC,
                                                reinterpret_cast<sockaddr*>(&from), &fromLength);
                if (length < 0)
                    break;
                if (static_cast<std::size_t>(length) > kMaxDatagramBytes)
                    continue;
                WsdDatagram datagram;
                if (!ParseDatagram(std::string_view(buffer.data(), static_cast<std::size_t>(length)), datagram) ||
                    !ourMessages.count(datagram.relatesTo))
                    continue;
                const IPv4 source = ntohl(from.sin_addr.s_addr);
                for (const WsdMatch& match : datagram.matches) {
                    AnsweredEndpoint* entry = nullptr;
                    if (datagram.action == WsdAction::ProbeMatches && match.computer)
                        entry = collection.Entry(source, match.endpoint);
                    else if (datagram.action == WsdAction::ResolveMatches)
                        entry = collection.Known(source, match.endpoint);
                    if (!entry || !entry->xaddrs.empty())
                        continue;
                    entry->xaddrs = match.xaddrs;
                    if (entry->xaddrs.empty() && resolving.emplace(std::make_pair(source, match.endpoint), i).second) {
                        const std::string resolveId = NewMessageId();
                        ourMessages.insert(resolveId);
                        (void)SendMulticast(sockets[i], ResolveMessage(resolveId, match.endpoint));
                    }
                }
            }
        }
    }
    found = collection.Take();
    return ERROR_SUCCESS;
}

}  // namespace vn::wsd

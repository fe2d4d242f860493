#include "platform/wsd/MulticastProbe.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <utility>

#include "platform/wsd/EndpointCollection.h"
#include "platform/wsd/FamilyFold.h"
#include "platform/wsd/WsdMessages.h"

namespace vn::wsd {
namespace {

constexpr const char* kGroupIPv4 = "239.255.255.250";
constexpr const char* kGroupIPv6 = "ff02::c";
constexpr std::uint16_t kDiscoveryPort = 3702;
// SOAP-over-UDP sends each multicast message more than once, as UDP may lose it.
constexpr int kRepeats = 2;
// Room for a burst of datagrams (a hostile host's flood among them) while the
// loop parses; the system may grant less.
constexpr int kReceiveBuffer = 1 << 20;

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

// A socket bound to one interface's address that multicasts from there to
// its family's group.
struct Sender {
    Socket socket;
    bool ipv6 = false;
    unsigned interfaceIndex = 0;
    in_addr local{};  // IPv4 only
};

template <typename Value>
bool SetOption(const Socket& socket, int level, int name, const Value& value) {
    return setsockopt(socket.Fd(), level, name, &value, sizeof value) == 0;
}

bool Usable(const ifaddrs& entry) {
    const unsigned flags = entry.ifa_flags;
    return entry.ifa_addr && (flags & IFF_UP) && (flags & IFF_MULTICAST) && !(flags & IFF_LOOPBACK);
}

std::optional<Sender> OpenIPv4Sender(sockaddr_in local) {
    Socket socket(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    local.sin_port = 0;
    const unsigned char ttl = 1;
    if (socket.Fd() < 0 || bind(socket.Fd(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        !SetOption(socket, IPPROTO_IP, IP_MULTICAST_IF, local.sin_addr) ||
        !SetOption(socket, IPPROTO_IP, IP_MULTICAST_TTL, ttl))
        return std::nullopt;
    (void)SetOption(socket, SOL_SOCKET, SO_RCVBUF, kReceiveBuffer);  // a smaller buffer still works
    return Sender{std::move(socket), false, 0, local.sin_addr};
}

// Bound to the interface's link-local address, as the group is link-scoped.
std::optional<Sender> OpenIPv6Sender(sockaddr_in6 local, unsigned index) {
    Socket socket(::socket(AF_INET6, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    local.sin6_port = 0;
    local.sin6_scope_id = index;
    const int one = 1;
    const int hops = 1;
    if (socket.Fd() < 0 || !SetOption(socket, IPPROTO_IPV6, IPV6_V6ONLY, one) ||
        bind(socket.Fd(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        !SetOption(socket, IPPROTO_IPV6, IPV6_MULTICAST_IF, index) ||
        !SetOption(socket, IPPROTO_IPV6, IPV6_MULTICAST_HOPS, hops))
        return std::nullopt;
    (void)SetOption(socket, SOL_SOCKET, SO_RCVBUF, kReceiveBuffer);  // a smaller buffer still works
    return Sender{std::move(socket), true, index, {}};
}

std::vector<Sender> OpenSenders() {
    std::vector<Sender> senders;
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return senders;
    std::set<in_addr_t> seenIPv4;
    std::set<unsigned> seenIPv6;
    const auto keep = [&senders](std::optional<Sender> sender) {
        if (sender)
            senders.push_back(std::move(*sender));
    };
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (!Usable(*entry))
            continue;
        if (entry->ifa_addr->sa_family == AF_INET) {
            const auto& local = *reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
            if (seenIPv4.insert(local.sin_addr.s_addr).second)
                keep(OpenIPv4Sender(local));
        } else if (entry->ifa_addr->sa_family == AF_INET6) {
            const auto& local = *reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr);
            const unsigned index = if_nametoindex(entry->ifa_name);
            if (index != 0 && IN6_IS_ADDR_LINKLOCAL(&local.sin6_addr) && seenIPv6.insert(index).second)
                keep(OpenIPv6Sender(local, index));
        }
    }
    freeifaddrs(list);
    return senders;
}

// A socket on port 3702 of one family that has joined its group on the
// senders' interfaces; nullopt when the port is held or no group was joined.
std::optional<Socket> OpenListener(bool ipv6, const std::vector<Sender>& senders) {
    Socket socket(::socket(ipv6 ? AF_INET6 : AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    const int one = 1;
    if (socket.Fd() < 0 || !SetOption(socket, SOL_SOCKET, SO_REUSEADDR, one))
        return std::nullopt;
    int bound = -1;
    if (ipv6) {
        sockaddr_in6 any{};
        any.sin6_family = AF_INET6;
        any.sin6_port = htons(kDiscoveryPort);
        if (SetOption(socket, IPPROTO_IPV6, IPV6_V6ONLY, one))
            bound = bind(socket.Fd(), reinterpret_cast<const sockaddr*>(&any), sizeof any);
    } else {
        sockaddr_in any{};
        any.sin_family = AF_INET;
        any.sin_port = htons(kDiscoveryPort);
        bound = bind(socket.Fd(), reinterpret_cast<const sockaddr*>(&any), sizeof any);
    }
    if (bound != 0)
        return std::nullopt;
    bool joined = false;
    for (const Sender& sender : senders) {
        if (sender.ipv6 != ipv6)
            continue;
        if (ipv6) {
            ipv6_mreq membership{};
            inet_pton(AF_INET6, kGroupIPv6, &membership.ipv6mr_multiaddr);
            membership.ipv6mr_interface = sender.interfaceIndex;
            joined = SetOption(socket, IPPROTO_IPV6, IPV6_JOIN_GROUP, membership) || joined;
        } else {
            ip_mreq membership{};
            inet_pton(AF_INET, kGroupIPv4, &membership.imr_multiaddr);
            membership.imr_interface = sender.local;
            joined = SetOption(socket, IPPROTO_IP, IP_ADD_MEMBERSHIP, membership) || joined;
        }
    }
    if (!joined)
        return std::nullopt;
    (void)SetOption(socket, SOL_SOCKET, SO_RCVBUF, kReceiveBuffer);  // a smaller buffer still works
    return socket;
}

bool SendMulticast(const Sender& sender, const std::string& message) {
    sockaddr_storage group{};
    socklen_t length = 0;
    if (sender.ipv6) {
        auto& in6 = reinterpret_cast<sockaddr_in6&>(group);
        in6.sin6_family = AF_INET6;
        in6.sin6_port = htons(kDiscoveryPort);
        in6.sin6_scope_id = sender.interfaceIndex;
        inet_pton(AF_INET6, kGroupIPv6, &in6.sin6_addr);
        length = sizeof in6;
    } else {
        auto& in4 = reinterpret_cast<sockaddr_in&>(group);
        in4.sin_family = AF_INET;
        in4.sin_port = htons(kDiscoveryPort);
        inet_pton(AF_INET, kGroupIPv4, &in4.sin_addr);
        length = sizeof in4;
    }
    bool sent = false;
    for (int i = 0; i < kRepeats; ++i)
        sent = sendto(sender.socket.Fd(), message.data(), message.size(), 0, reinterpret_cast<const sockaddr*>(&group),
                      length) == static_cast<ssize_t>(message.size()) ||
               sent;
    return sent;
}

// The messages sent during one discovery, by their ids.
class Asker {
public:
    explicit Asker(const std::vector<Sender>& senders) : senders_(senders) {}

    bool Probe() {
        bool sent = false;
        const std::string message = ProbeMessage(Remember());
        for (const Sender& sender : senders_)
            sent = SendMulticast(sender, message) || sent;
        return sent;
    }
    // Asked where the endpoint's address can hear it: on every interface of
    // its family, or the one a link-local IPv6 address is scoped to.
    void Resolve(const EndpointCollection::Key& key) {
        const std::string message = ResolveMessage(Remember(), key.second);
        for (const Sender& sender : senders_) {
            if (sender.ipv6 == key.first.ipv6 && (key.first.scope == 0 || sender.interfaceIndex == key.first.scope))
                (void)SendMulticast(sender, message);  // unanswered, it is asked again or found without XAddrs
        }
    }
    const std::set<std::string>& Sent() const { return sent_; }

private:
    const std::string& Remember() { return *sent_.insert(NewMessageId()).first; }

    const std::vector<Sender>& senders_;
    std::set<std::string> sent_;
};

}  // namespace

Status ProbeNetwork(const ProbeLimits& limits, std::vector<AnsweredEndpoint>& found) {
    found.clear();
    const std::vector<Sender> senders = OpenSenders();
    // Opened before the Probe goes, so that no Hello in between is missed.
    std::vector<Socket> listeners;
    for (const bool ipv6 : {false, true}) {
        if (std::optional<Socket> listener = OpenListener(ipv6, senders))
            listeners.push_back(std::move(*listener));
    }
    Asker asker(senders);
    if (!asker.Probe())
        return ERROR_NO_NETWORK;

    EndpointCollection collection(limits);
    std::vector<pollfd> polled;
    polled.reserve(senders.size() + listeners.size());
    for (const Sender& sender : senders)
        polled.push_back({sender.socket.Fd(), POLLIN, 0});
    for (const Socket& listener : listeners)
        polled.push_back({listener.Fd(), POLLIN, 0});
    std::string buffer(kMaxDatagramBytes + 1, '\0');
    const auto started = std::chrono::steady_clock::now();
    const auto deadline = started + limits.wait;
    // Halfway, the Probe and the Resolves not yet answered go out once more,
    // under new message ids (peers drop a repeated id): a flood from one host
    // can overrun the socket's buffer and cost other hosts their answers.
    const auto askAgainAt = started + limits.wait / 2;
    bool askedAgain = false;
    std::vector<EndpointCollection::Key> toResolve;
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (!askedAgain && now >= askAgainAt) {
            askedAgain = true;
            (void)asker.Probe();  // it went out once already
            for (const EndpointCollection::Key& key : collection.Unresolved())
                asker.Resolve(key);
        }
        const auto wakeAt = askedAgain ? deadline : std::min(deadline, askAgainAt);
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(wakeAt - now).count();
        if (now >= deadline)
            break;
        if (poll(polled.data(), polled.size(), static_cast<int>(std::max<long long>(left, 0))) <= 0)
            continue;
        for (const pollfd& entry : polled) {
            if (!(entry.revents & POLLIN))
                continue;
            for (;;) {
                sockaddr_storage from{};
                socklen_t fromLength = sizeof from;
                // MSG_TRUNC gives the datagram's real length, so one longer
                // than the cap is recognised and dropped.
                const ssize_t length = recvfrom(entry.fd, buffer.data(), buffer.size(), MSG_TRUNC,
                                                reinterpret_cast<sockaddr*>(&from), &fromLength);
                if (length < 0)
                    break;
                WsdDatagram datagram;
                const std::optional<PeerAddress> source = PeerAddress::From(from);
                if (!source || static_cast<std::size_t>(length) > kMaxDatagramBytes ||
                    !ParseDatagram(std::string_view(buffer.data(), static_cast<std::size_t>(length)), datagram))
                    continue;
                toResolve.clear();
                collection.Accept(*source, datagram, asker.Sent(), toResolve);
                for (const EndpointCollection::Key& key : toResolve)
                    asker.Resolve(key);
            }
        }
    }
    found = collection.Take();
    FoldFamilies(found);
    return ERROR_SUCCESS;
}

}  // namespace vn::wsd

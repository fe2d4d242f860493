#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/local/LocalComputerName.h"
#include "platform/local/LocalResolver.h"
#include "platform/local/LocalSockets.h"

using namespace std::chrono_literals;

namespace vn {
namespace {

constexpr IPv4 kLoopback = 0x7F000001;

std::string ThisHostName() {
    char host[HOST_NAME_MAX + 1] = {};
    gethostname(host, sizeof host - 1);
    return host;
}

// Tests may resolve this computer's own name only when /etc/hosts answers
// for it: otherwise the lookup would leave the machine.
bool HostNameIsInHostsFile() {
    std::ifstream hosts("/etc/hosts");
    const std::string name = ThisHostName();
    for (std::string line; std::getline(hosts, line);) {
        std::istringstream fields(line.substr(0, line.find('#')));
        std::string field;
        fields >> field;  // the address
        while (fields >> field)
            if (strcasecmp(field.c_str(), name.c_str()) == 0)
                return true;
    }
    return false;
}

// A TCP socket bound to 127.0.0.1 on a free port.
struct LoopbackSocket {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    std::uint16_t port = 0;
    LoopbackSocket() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(kLoopback);
        socklen_t length = sizeof address;
        if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            port = ntohs(address.sin_port);
    }
    ~LoopbackSocket() { close(fd); }
};

TEST(LocalResolverTest, NamesAndAddressesOfLoopback) {
    LocalResolver resolver;
    EXPECT_EQ(resolver.HostAddress("localhost"), kLoopback);
    EXPECT_EQ(resolver.HostAddress("127.0.0.9"), 0x7F000009u);
    EXPECT_EQ(resolver.HostAddress(std::string_view("local\0host", 10)), 0u);
    std::string name;
    ASSERT_TRUE(resolver.HostName(kLoopback, name));
    EXPECT_EQ(name, "localhost");
}

TEST(LocalResolverTest, ComputerNameIsTheFirstLabelOfTheHostNameInCapitals) {
    EXPECT_EQ(ComputerNameFromHostName("pc-17.corp.example"), "PC-17");
    EXPECT_EQ(ComputerNameFromHostName("Workstation"), "WORKSTATION");
    LocalResolver resolver;
    std::string name;
    ASSERT_TRUE(resolver.LocalComputerName(name));
    EXPECT_EQ(name, ComputerNameFromHostName(ThisHostName()));
}

TEST(LocalResolverTest, LocalAddressesHoldLoopbackFirstAndEachAddressOnce) {
    if (!HostNameIsInHostsFile())
        GTEST_SKIP() << "this computer's name is not in /etc/hosts";
    LocalResolver resolver;
    const std::vector<IPv4> addresses = resolver.LocalAddresses();
    ASSERT_FALSE(addresses.empty());
    EXPECT_NE(std::find(addresses.begin(), addresses.end(), kLoopback), addresses.end());
    EXPECT_EQ(addresses.front() >> 24, 127u);
    EXPECT_EQ(std::set<IPv4>(addresses.begin(), addresses.end()).size(), addresses.size());
    // The computer's own name resolves to one of them, also through "".
    const IPv4 own = resolver.HostAddress("");
    EXPECT_NE(own, 0u);
    EXPECT_EQ(own, resolver.HostAddress(ThisHostName()));
    EXPECT_NE(std::find(addresses.begin(), addresses.end(), own), addresses.end());
}

TEST(LocalSocketsTest, ListeningPortAnswersAndClosedPortFailsAtOnce) {
    LocalSockets sockets;
    LoopbackSocket listener;
    ASSERT_NE(listener.port, 0);
    ASSERT_EQ(listen(listener.fd, 4), 0);
    EXPECT_TRUE(sockets.TestTcpPort(kLoopback, listener.port, 5s));

    std::uint16_t closedPort = 0;
    {
        LoopbackSocket unused;  // bound, never listening, then released
        closedPort = unused.port;
    }
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(sockets.TestTcpPort(kLoopback, closedPort, 5s));
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
}

}  // namespace
}  // namespace vn

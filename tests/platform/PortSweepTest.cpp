#include "platform/local/PortSweep.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "platform/local/DescriptorBudget.h"
#include "platform/local/LocalSockets.h"

namespace vn {
namespace {

constexpr IPv4 kLoopback = 0x7F000001;

sockaddr_in SocketAddress(IPv4 address, std::uint16_t port) {
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    result.sin_addr.s_addr = htonl(address);
    return result;
}

// A listening socket on a free port of address (INADDR_ANY: every local
// address). Full, it has one connection waiting that nobody accepts, so the
// kernel drops every further handshake: its port is silent, as behind a
// firewall, until Accept makes room again.
class Listener {
public:
    explicit Listener(IPv4 address = kLoopback, bool full = false) {
        sockaddr_in self = SocketAddress(address, 0);
        socklen_t length = sizeof self;
        EXPECT_EQ(bind(fd_, reinterpret_cast<sockaddr*>(&self), sizeof self), 0);
        EXPECT_EQ(listen(fd_, full ? 0 : 64), 0);
        EXPECT_EQ(getsockname(fd_, reinterpret_cast<sockaddr*>(&self), &length), 0);
        port_ = ntohs(self.sin_port);
        if (full) {
            const sockaddr_in peer = SocketAddress(kLoopback, port_);
            EXPECT_EQ(connect(waiting_, reinterpret_cast<const sockaddr*>(&peer), sizeof peer), 0);
        }
    }
    ~Listener() {
        close(waiting_);
        close(fd_);
    }
    std::uint16_t Port() const { return port_; }
    void Accept() {
        const int accepted = accept(fd_, nullptr, nullptr);
        EXPECT_GE(accepted, 0);
        close(accepted);
    }

private:
    int fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int waiting_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    std::uint16_t port_ = 0;
};

// A port of 127.0.0.1 that refuses: bound, never listening.
class ClosedPort {
public:
    ClosedPort() {
        sockaddr_in self = SocketAddress(kLoopback, 0);
        socklen_t length = sizeof self;
        EXPECT_EQ(bind(fd_, reinterpret_cast<sockaddr*>(&self), sizeof self), 0);
        EXPECT_EQ(getsockname(fd_, reinterpret_cast<sockaddr*>(&self), &length), 0);
        port_ = ntohs(self.sin_port);
    }
    ~ClosedPort() { close(fd_); }
    std::uint16_t Port() const { return port_; }

private:
    int fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    std::uint16_t port_ = 0;
};

std::size_t OpenDescriptorCount() {
    return static_cast<std::size_t>(
        std::distance(std::filesystem::directory_iterator("/proc/self/fd"), std::filesystem::directory_iterator()));
}

// Records what a sweep reports; stops it when stopWhen says so.
class Recorder final : public SweepObserver {
public:
    void Tested(IPv4 address, bool accepted) override { answers[address].push_back(accepted); }
    bool Continue(std::size_t inFlight) override {
        mostInFlight = std::max(mostInFlight, inFlight);
        return !stopWhen || !stopWhen(inFlight);
    }
    void Retrying(IPv4 address) override {
        ++retries[address];
        if (onRetry)
            onRetry();
    }

    std::map<IPv4, std::vector<bool>> answers;  // each address's reports
    std::map<IPv4, int> retries;
    std::size_t mostInFlight = 0;
    std::function<bool(std::size_t)> stopWhen;
    std::function<void()> onRetry;
};

Status Sweep(IPv4 first, IPv4 last, std::vector<std::uint16_t> ports, Recorder& recorder,
             std::size_t parallel = SweepRequest::kDefaultParallel) {
    SweepRequest request;
    request.First = first;
    request.Last = last;
    request.Ports = std::move(ports);
    request.Parallel = parallel;
    LocalSockets sockets;
    return sockets.SweepTcpPorts(request, recorder);
}

TEST(PortSweepTest, EachAddressIsReportedOnceAndOnlyTheListeningOneAccepts) {
    Listener listener;
    ClosedPort closed;
    struct Case {
        const char* what;
        std::vector<std::uint16_t> ports;
    };
    const Case cases[] = {
        {"the listening port alone", {listener.Port()}},
        {"a refusing port tried first", {closed.Port(), listener.Port()}},
    };
    for (const Case& c : cases) {
        Recorder recorder;
        // 127.0.0.2.. refuse: the listener is bound to 127.0.0.1 only.
        ASSERT_EQ(Sweep(kLoopback, kLoopback + 30, c.ports, recorder, 4), ERROR_SUCCESS) << c.what;
        ASSERT_EQ(recorder.answers.size(), 31u) << c.what;
        for (const auto& [address, reports] : recorder.answers)
            EXPECT_EQ(reports, std::vector<bool>{address == kLoopback}) << c.what << " " << FormatIPv4(address);
        EXPECT_TRUE(recorder.retries.empty()) << c.what << ": a refusal is an answer";
        EXPECT_LE(recorder.mostInFlight, 4u) << c.what;
    }
}

TEST(PortSweepTest, AnAddressSilentAtFirstIsTriedOnceMore) {
    struct Case {
        const char* what;
        bool roomOnRetry;  // the listener makes room before the second attempt
        bool accepted;
    };
    const Case cases[] = {
        {"answers the second attempt", true, true},
        {"silent twice", false, false},
    };
    for (const Case& c : cases) {
        Listener listener(kLoopback, true);
        ClosedPort closed;
        Recorder recorder;
        if (c.roomOnRetry)
            recorder.onRetry = [&listener] { listener.Accept(); };
        // The refused first port gives a loopback round trip, so the
        // silent attempt ends at the floor of the limit, long before the
        // kernel would repeat its handshake by itself.
        ASSERT_EQ(Sweep(kLoopback, kLoopback, {closed.Port(), listener.Port()}, recorder), ERROR_SUCCESS) << c.what;
        EXPECT_EQ(recorder.retries[kLoopback], 1) << c.what;
        EXPECT_EQ(recorder.answers[kLoopback], std::vector<bool>{c.accepted}) << c.what;
    }
}

TEST(PortSweepTest, CancelWith512InFlightClosesThemAll) {
    const Listener silent(INADDR_ANY, true);
    const std::size_t before = OpenDescriptorCount();
    Recorder recorder;
    recorder.stopWhen = [](std::size_t inFlight) { return inFlight == SweepRequest::kDefaultParallel; };
    // 127.1.0.0/22 on the full listener's port: every handshake is dropped.
    EXPECT_EQ(Sweep(0x7F010000, 0x7F0103FF, {silent.Port()}, recorder), ERROR_CANCELLED);
    EXPECT_EQ(recorder.mostInFlight, SweepRequest::kDefaultParallel);
    EXPECT_TRUE(recorder.answers.empty());
    EXPECT_EQ(OpenDescriptorCount(), before);
}

// In a child process, with the descriptor limit (soft and hard) set to those
// open now plus extra: the status of a sweep of 127.0.0.1..20, and whether
// it found the listener without more than allowed in flight.
int SweepUnderLimit(std::size_t extra, Status expected, std::size_t mostInFlight) {
    Listener listener;
    const rlimit limit{OpenDescriptorCount() + extra, OpenDescriptorCount() + extra};
    if (setrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 2;
    Recorder recorder;
    const Status status = Sweep(kLoopback, kLoopback + 19, {listener.Port()}, recorder);
    if (status != expected)
        return 3;
    if (status == ERROR_SUCCESS &&
        (recorder.answers.size() != 20 || recorder.answers[kLoopback] != std::vector<bool>{true}))
        return 4;
    return recorder.mostInFlight <= mostInFlight ? 0 : 5;
}

TEST(PortSweepDeathTest, TooFewDescriptorsGiveAStatusAndNeverACrash) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Case {
        const char* what;
        std::size_t extra;
        Status status;
        std::size_t mostInFlight;
    };
    const Case cases[] = {
        {"not even the reserve", 8, ERROR_TOO_MANY_OPEN_FILES, 0},
        {"three beyond the reserve", kDescriptorReserve + 4, ERROR_SUCCESS, 3},
    };
    for (const Case& c : cases)
        EXPECT_EXIT(std::exit(SweepUnderLimit(c.extra, c.status, c.mostInFlight)), ::testing::ExitedWithCode(0), "")
            << c.what;
}

// In a child process limited to eight connections: ten silent addresses,
// and every descriptor taken by someone else when the first attempt runs
// out. The retries find only the seven released after it: the sweep goes on
// with seven in flight and still reports each address once.
int SweepWhileDescriptorsRunOut() {
    const Listener silent(INADDR_ANY, true);
    const rlimit limit{OpenDescriptorCount() + kDescriptorReserve + 10,
                       OpenDescriptorCount() + kDescriptorReserve + 10};
    if (setrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 2;
    Recorder recorder;
    bool taken = false;
    recorder.onRetry = [&taken] {
        while (!taken && dup(0) >= 0) {
        }
        taken = true;
    };
    const Status status = Sweep(0x7F020001, 0x7F02000A, {silent.Port()}, recorder, 8);
    if (status != ERROR_SUCCESS)
        return 3;
    if (recorder.answers.size() != 10 || recorder.retries.size() != 10)
        return 4;
    for (const auto& [address, reports] : recorder.answers) {
        if (reports != std::vector<bool>{false} || recorder.retries[address] != 1)
            return 5;
    }
    return recorder.mostInFlight == 8 ? 0 : 6;
}

TEST(PortSweepDeathTest, DescriptorsRunningOutMidwayShrinkTheSweep) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(SweepWhileDescriptorsRunOut()), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vn

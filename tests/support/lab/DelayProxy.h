#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vn::lab {

// A lab host seen across a slow network: a TCP relay on another loopback
// address that holds every chunk for oneWayDelay in each direction before
// passing it on (chunks keep their order and overtake nothing). Stands in for
// netem delay, which this machine's kernel lacks. Loopback addresses only.
// It also counts what the client sends: its connections and its SMB requests
// (NetBIOS session messages; a compound request travels as one), each of
// which waits for its answer, so that the count is the round trips made.
class DelayProxy {
public:
    // How a chunk waits for its due time. A sleeper wakes up to half a
    // millisecond late on a virtual machine, and that adds to every chunk as
    // if the relayed programs had taken it; Spin sleeps until a millisecond
    // before and spins the rest, for a measurement through one relay (many
    // spinning relays would take the machine's cores from what they relay).
    enum class Wait { Sleep, Spin };

    DelayProxy(const std::string& listenAddress, const std::string& targetAddress,
               std::chrono::milliseconds oneWayDelay, int port = 445, Wait wait = Wait::Sleep);
    ~DelayProxy();
    DelayProxy(const DelayProxy&) = delete;
    DelayProxy& operator=(const DelayProxy&) = delete;

    bool Listening() const { return fd_ >= 0; }
    const std::string& Address() const { return listenAddress_; }

    // What clients sent since the proxy started: session messages, by SMB2
    // command (kOtherCommand for any other protocol).
    class Tally {
    public:
        void Count(std::uint16_t command);
        std::uint64_t Total() const;
        std::map<std::uint16_t, std::uint64_t> ByCommand() const;

    private:
        mutable std::mutex mutex_;
        std::uint64_t total_ = 0;
        std::map<std::uint16_t, std::uint64_t> byCommand_;
    };
    static constexpr std::uint16_t kOtherCommand = 0xFFFF;

    std::uint64_t Connections() const { return connections_; }
    const Tally& Requests() const { return requests_; }

    // How long the clients took, summed, from receiving what the relay
    // delivered to sending their next bytes; and the same of the server.
    // Beside the delay, they are the time an exchange through the relay takes.
    std::chrono::nanoseconds ClientTime() const;
    std::chrono::nanoseconds ServerTime() const;

private:
    class Relay;

    void AcceptLoop();

    const std::string listenAddress_;
    const std::string targetAddress_;
    const std::chrono::milliseconds delay_;
    const int port_;
    const Wait wait_;
    int fd_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> connections_{0};
    Tally requests_;
    std::atomic<std::chrono::steady_clock::rep> clientTime_{0};
    std::atomic<std::chrono::steady_clock::rep> serverTime_{0};
    std::mutex mutex_;
    std::vector<std::unique_ptr<Relay>> relays_;
    std::thread acceptor_;
};

}  // namespace vn::lab

#include "DelayProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <algorithm>
#include <array>
#include <condition_variable>
#include <deque>

#include "LabProcess.h"

namespace vn::lab {

namespace {

using Clock = std::chrono::steady_clock;

bool LoopbackAddress(const std::string& text, int port, sockaddr_in& address) {
    address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return inet_pton(AF_INET, text.c_str(), &address.sin_addr) == 1 && (ntohl(address.sin_addr.s_addr) >> 24) == 127;
}

void NoDelay(int fd) {
    const int yes = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
}

// Finds the session messages in one direction's bytes: a 4-byte NetBIOS
// header (type, then a 24-bit big-endian length) and that many bytes; only
// session messages (type 0) count, keep-alives do not. Each one is counted
// with its SMB2 command (kOtherCommand for other protocols).
class MessageStarts {
public:
    explicit MessageStarts(DelayProxy::Tally& tally) : tally_(tally) {}

    void Feed(const char* bytes, std::size_t size) {
        for (std::size_t at = 0; at < size;) {
            if (remaining_ > 0) {
                const std::size_t take = std::min(remaining_, size - at);
                for (std::size_t i = 0; i < take && headFilled_ < head_.size(); ++i)
                    head_[headFilled_++] = static_cast<unsigned char>(bytes[at + i]);
                remaining_ -= take;
                at += take;
                if (counting_ && (headFilled_ == head_.size() || remaining_ == 0)) {
                    tally_.Count(headFilled_ == head_.size() ? Command() : DelayProxy::kOtherCommand);
                    counting_ = false;
                }
                continue;
            }
            header_[filled_++] = static_cast<unsigned char>(bytes[at++]);
            if (filled_ == header_.size()) {
                remaining_ = (std::size_t{header_[1]} << 16) | (std::size_t{header_[2]} << 8) | header_[3];
                counting_ = header_[0] == 0;
                if (counting_ && remaining_ == 0) {
                    tally_.Count(DelayProxy::kOtherCommand);
                    counting_ = false;
                }
                filled_ = 0;
                headFilled_ = 0;
            }
        }
    }

private:
    // The SMB2 header's command field, after its protocol id, structure
    // size, credit charge and status.
    std::uint16_t Command() const {
        const bool smb2 = head_[0] == 0xFE && head_[1] == 'S' && head_[2] == 'M' && head_[3] == 'B';
        return smb2 ? static_cast<std::uint16_t>(head_[12] | (head_[13] << 8)) : DelayProxy::kOtherCommand;
    }

    DelayProxy::Tally& tally_;
    std::array<unsigned char, 4> header_{};
    std::size_t filled_ = 0;
    std::size_t remaining_ = 0;
    std::array<unsigned char, 14> head_{};
    std::size_t headFilled_ = 0;
    bool counting_ = false;
};

// When a direction last delivered, and how long its sender took to answer
// what the other direction delivered to it (summed, in clock ticks).
struct PumpTiming {
    std::atomic<Clock::rep>& delivered;
    const std::atomic<Clock::rep>& deliveredToSender;
    std::atomic<Clock::rep>& senderTime;
};

Clock::rep Ticks(Clock::time_point time) { return time.time_since_epoch().count(); }

// One direction of a connection: a reader that stamps each chunk with its
// due time and a writer that sends it then. Counts the session messages in
// it when given a tally.
class Pump {
public:
    Pump(int from, int to, std::chrono::milliseconds delay, DelayProxy::Wait wait, PumpTiming timing,
         DelayProxy::Tally* tally = nullptr)
        : from_(from),
          to_(to),
          delay_(delay),
          wait_(wait),
          timing_(timing) {
        if (tally)
            messages_ = std::make_unique<MessageStarts>(*tally);
        reader_ = std::thread([this] { Read(); });
        writer_ = std::thread([this] { Write(); });
    }
    ~Pump() {
        reader_.join();
        writer_.join();
    }

private:
    struct Chunk {
        Clock::time_point due;
        std::vector<char> bytes;  // empty: the sender closed its side
    };

    void Read() {
        for (;;) {
            std::vector<char> bytes(65536);
            const ssize_t got = recv(from_, bytes.data(), bytes.size(), 0);
            bytes.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
            if (got > 0)
                TimeSender();
            if (messages_)
                messages_->Feed(bytes.data(), bytes.size());
            Push({Clock::now() + delay_, std::move(bytes)});
            if (got <= 0)
                return;
        }
    }

    // Bytes that follow a delivery to their sender answer it, up to the
    // last bytes before the next delivery: a server may send an interim
    // answer before the real one.
    void TimeSender() {
        const Clock::rep now = Ticks(Clock::now());
        const Clock::rep answered = timing_.deliveredToSender.load();
        if (answered > lastArrival_)
            timing_.senderTime += now - answered;
        else if (answered != 0)
            timing_.senderTime += now - lastArrival_;
        lastArrival_ = now;
    }

    void Push(Chunk chunk) {
        std::lock_guard<std::mutex> lock(mutex_);
        chunks_.push_back(std::move(chunk));
        ready_.notify_one();
    }

    void WaitUntil(Clock::time_point due) const {
        if (wait_ == DelayProxy::Wait::Sleep) {
            std::this_thread::sleep_until(due);
            return;
        }
        std::this_thread::sleep_until(due - std::chrono::milliseconds(1));
        while (Clock::now() < due) {
        }
    }

    void Write() {
        for (;;) {
            Chunk chunk;
            {
                std::unique_lock<std::mutex> lock(mutex_);
                ready_.wait(lock, [&] { return !chunks_.empty(); });
                chunk = std::move(chunks_.front());
                chunks_.pop_front();
            }
            WaitUntil(chunk.due);
            if (chunk.bytes.empty()) {
                shutdown(to_, SHUT_WR);
                return;
            }
            std::size_t done = 0;
            while (done < chunk.bytes.size()) {
                const ssize_t sent = send(to_, chunk.bytes.data() + done, chunk.bytes.size() - done, MSG_NOSIGNAL);
                if (sent <= 0) {
                    shutdown(from_, SHUT_RDWR);  // the reader ends too
                    Drain();
                    return;
                }
                done += static_cast<std::size_t>(sent);
            }
            timing_.delivered = Ticks(Clock::now());
        }
    }

    // Waits for the reader's last chunk, so that the reader never blocks on a full queue it cannot have.
    void Drain() {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            ready_.wait(lock, [&] { return !chunks_.empty(); });
            const bool last = chunks_.back().bytes.empty();
            chunks_.clear();
            if (last)
                return;
        }
    }

    const int from_;
    const int to_;
    const std::chrono::milliseconds delay_;
    const DelayProxy::Wait wait_;
    const PumpTiming timing_;
    Clock::rep lastArrival_ = 0;
    std::unique_ptr<MessageStarts> messages_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Chunk> chunks_;
    std::thread reader_;
    std::thread writer_;
};

}  // namespace

void DelayProxy::Tally::Count(std::uint16_t command) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++total_;
    ++byCommand_[command];
}

std::chrono::nanoseconds DelayProxy::ClientTime() const {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::duration(clientTime_.load()));
}

std::chrono::nanoseconds DelayProxy::ServerTime() const {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::duration(serverTime_.load()));
}

std::uint64_t DelayProxy::Tally::Total() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return total_;
}

std::map<std::uint16_t, std::uint64_t> DelayProxy::Tally::ByCommand() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return byCommand_;
}

// Both directions of one accepted connection.
class DelayProxy::Relay {
public:
    Relay(int client, int server, DelayProxy& proxy)
        : client_(client),
          server_(server),
          toServer_(std::make_unique<Pump>(client, server, proxy.delay_, proxy.wait_,
                                           PumpTiming{toServerAt_, toClientAt_, proxy.clientTime_}, &proxy.requests_)),
          toClient_(std::make_unique<Pump>(server, client, proxy.delay_, proxy.wait_,
                                           PumpTiming{toClientAt_, toServerAt_, proxy.serverTime_})) {}
    ~Relay() {
        shutdown(client_, SHUT_RDWR);
        shutdown(server_, SHUT_RDWR);
        toServer_.reset();
        toClient_.reset();
        close(client_);
        close(server_);
    }

private:
    const int client_;
    const int server_;
    std::atomic<Clock::rep> toServerAt_{0};
    std::atomic<Clock::rep> toClientAt_{0};
    std::unique_ptr<Pump> toServer_;
    std::unique_ptr<Pump> toClient_;
};

DelayProxy::DelayProxy(const std::string& listenAddress, const std::string& targetAddress,
                       std::chrono::milliseconds oneWayDelay, int port, Wait wait)
    : listenAddress_(listenAddress),
      targetAddress_(targetAddress),
      delay_(oneWayDelay),
      port_(port),
      wait_(wait) {
    sockaddr_in target{};
    if (!LoopbackAddress(targetAddress, port, target))
        return;
    fd_ = ListenOnLoopback(listenAddress, port);
    if (fd_ < 0)
        return;
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

DelayProxy::~DelayProxy() {
    stop_ = true;
    if (acceptor_.joinable())
        acceptor_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    relays_.clear();
    if (fd_ >= 0)
        close(fd_);
}

void DelayProxy::AcceptLoop() {
    sockaddr_in target{};
    LoopbackAddress(targetAddress_, port_, target);
    while (!stop_) {
        pollfd waiting{fd_, POLLIN, 0};
        if (poll(&waiting, 1, 50) != 1)
            continue;
        const int client = accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            continue;
        const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (server < 0 || connect(server, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
            close(client);
            if (server >= 0)
                close(server);
            continue;
        }
        NoDelay(client);
        NoDelay(server);
        ++connections_;
        std::lock_guard<std::mutex> lock(mutex_);
        relays_.push_back(std::make_unique<Relay>(client, server, *this));
    }
}

}  // namespace vn::lab

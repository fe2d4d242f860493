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

// One direction of a connection: a reader that stamps each chunk with its
// due time and a writer that sends it then. Counts the session messages in
// it when given a tally.
class Pump {
public:
    Pump(int from, int to, std::chrono::milliseconds delay, DelayProxy::Tally* tally = nullptr)
        : from_(from),
          to_(to),
          delay_(delay) {
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
            if (messages_)
                messages_->Feed(bytes.data(), bytes.size());
            Push({Clock::now() + delay_, std::move(bytes)});
            if (got <= 0)
                return;
        }
    }

    void Push(Chunk chunk) {
        std::lock_guard<std::mutex> lock(mutex_);
        chunks_.push_back(std::move(chunk));
        ready_.notify_one();
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
            std::this_thread::sleep_until(chunk.due);
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
    Relay(int client, int server, std::chrono::milliseconds delay, DelayProxy::Tally& requests)
        : client_(client),
          server_(server),
          toServer_(std::make_unique<Pump>(client, server, delay, &requests)),
          toClient_(std::make_unique<Pump>(server, client, delay)) {}
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
    std::unique_ptr<Pump> toServer_;
    std::unique_ptr<Pump> toClient_;
};

DelayProxy::DelayProxy(const std::string& listenAddress, const std::string& targetAddress,
                       std::chrono::milliseconds oneWayDelay, int port)
    : listenAddress_(listenAddress),
      targetAddress_(targetAddress),
      delay_(oneWayDelay),
      port_(port) {
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
        relays_.push_back(std::make_unique<Relay>(client, server, delay_, requests_));
    }
}

}  // namespace vn::lab

#include "DelayProxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
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

// One direction of a connection: a reader that stamps each chunk with its
// due time and a writer that sends it then.
class Pump {
public:
    Pump(int from, int to, std::chrono::milliseconds delay) : from_(from), to_(to), delay_(delay) {
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
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Chunk> chunks_;
    std::thread reader_;
    std::thread writer_;
};

}  // namespace

// Both directions of one accepted connection.
class DelayProxy::Relay {
public:
    Relay(int client, int server, std::chrono::milliseconds delay)
        : client_(client),
          server_(server),
          toServer_(std::make_unique<Pump>(client, server, delay)),
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
        std::lock_guard<std::mutex> lock(mutex_);
        relays_.push_back(std::make_unique<Relay>(client, server, delay_));
    }
}

}  // namespace vn::lab

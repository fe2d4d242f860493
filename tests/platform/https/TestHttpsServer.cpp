#include "platform/https/TestHttpsServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <stdexcept>

namespace vn::test {
namespace {

constexpr int kPollMs = 50;
constexpr auto kIoLimit = std::chrono::seconds(10);

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::size_t ContentLength(const std::string& headers) {
    const std::string lower = Lower(headers);
    const std::size_t at = lower.find("\r\ncontent-length:");
    if (at == std::string::npos)
        return 0;
    return std::stoul(headers.substr(at + 17));
}

const char* ReasonPhrase(int status) {
    switch (status) {
    case 200: return "OK";
    case 302: return "Found";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 414: return "URI Too Long";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

}  // namespace

int ListenOnLoopback(std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        throw std::runtime_error("test server: socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        throw std::runtime_error("test server: bind/listen");
    }
    port = ntohs(address.sin_port);
    return fd;
}

bool WaitReadable(int socket, const std::atomic<bool>& stop, std::chrono::steady_clock::time_point deadline) {
    while (!stop.load() && std::chrono::steady_clock::now() < deadline) {
        pollfd entry{socket, POLLIN, 0};
        if (::poll(&entry, 1, kPollMs) > 0)
            return true;
    }
    return false;
}

TestHttpsServer::TestHttpsServer(const Identity* identity, const std::vector<X509*>& chain) {
    std::signal(SIGPIPE, SIG_IGN);  // a client that hangs up must not end the test program
    if (identity) {
        context_ = SSL_CTX_new(TLS_server_method());
        if (!context_ || SSL_CTX_use_certificate(context_, identity->certificate.get()) != 1 ||
            SSL_CTX_use_PrivateKey(context_, identity->key.get()) != 1)
            throw std::runtime_error("test server: TLS context");
        for (X509* certificate : chain)
            SSL_CTX_add1_chain_cert(context_, certificate);
    }
    listener_ = ListenOnLoopback(port_);
    thread_ = std::thread(&TestHttpsServer::Serve, this);
}

TestHttpsServer::~TestHttpsServer() {
    stop_.store(true);
    thread_.join();
    ::close(listener_);
    SSL_CTX_free(context_);
}

void TestHttpsServer::SetReply(Reply reply) {
    std::lock_guard lock(mutex_);
    reply_ = std::move(reply);
}

std::vector<TestHttpsServer::Request> TestHttpsServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void AcceptUntilStopped(int listener, const std::atomic<bool>& stop, const std::function<void(int)>& handle) {
    while (!stop.load()) {
        pollfd entry{listener, POLLIN, 0};
        if (::poll(&entry, 1, kPollMs) <= 0)
            continue;
        const int socket = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0)
            continue;
        handle(socket);
        ::close(socket);
    }
}

void TestHttpsServer::Serve() {
    AcceptUntilStopped(listener_, stop_, [this](int socket) {
        ++connections_;
        Handle(socket);
    });
}

void TestHttpsServer::Handle(int socket) {
    timeval limit{static_cast<time_t>(kIoLimit.count()), 0};
    ::setsockopt(socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (!context_) {
        static const char kPlain[] = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";
        WaitReadable(socket, stop_, std::chrono::steady_clock::now() + kIoLimit);
        (void)::send(socket, kPlain, sizeof kPlain - 1, MSG_NOSIGNAL);
        return;
    }
    SSL* ssl = SSL_new(context_);
    SSL_set_fd(ssl, socket);
    Request request;
    if (SSL_accept(ssl) == 1 && ReadRequest(ssl, socket, request)) {
        Reply reply;
        {
            std::lock_guard lock(mutex_);
            requests_.push_back(request);
            reply = reply_;
        }
        WriteReply(ssl, socket, reply);
    }
    SSL_free(ssl);
}

bool TestHttpsServer::ReadRequest(SSL* ssl, int socket, Request& request) {
    const auto deadline = std::chrono::steady_clock::now() + kIoLimit;
    std::string data;
    std::size_t headerEnd = std::string::npos;
    std::size_t wanted = 0;
    char buffer[4096];
    for (;;) {
        if (headerEnd == std::string::npos && (headerEnd = data.find("\r\n\r\n")) != std::string::npos)
            wanted = headerEnd + 4 + ContentLength(data.substr(0, headerEnd + 2));
        if (headerEnd != std::string::npos && data.size() >= wanted)
            break;
        if (SSL_pending(ssl) == 0 && !WaitReadable(socket, stop_, deadline))
            return false;
        const int got = SSL_read(ssl, buffer, sizeof buffer);
        if (got <= 0)
            return false;
        data.append(buffer, static_cast<std::size_t>(got));
    }
    const std::size_t lineEnd = data.find("\r\n");
    const std::string line = data.substr(0, lineEnd);
    const std::size_t space = line.find(' ');
    request.method = line.substr(0, space);
    request.target = line.substr(space + 1, line.rfind(' ') - space - 1);
    request.headers = data.substr(lineEnd + 2, headerEnd + 2 - (lineEnd + 2));
    request.body = data.substr(headerEnd + 4, wanted - headerEnd - 4);
    return true;
}

void TestHttpsServer::WriteReply(SSL* ssl, int socket, const Reply& reply) {
    if (reply.behaviour == Behaviour::NeverAnswer) {
        // Silent until the client gives up (and closes) or the server stops.
        char byte;
        while (WaitReadable(socket, stop_, std::chrono::steady_clock::now() + kIoLimit))
            if (SSL_read(ssl, &byte, 1) <= 0)
                break;
        return;
    }
    if (reply.behaviour == Behaviour::EndlessBody) {
        WriteEndlessBody(ssl, reply);
        return;
    }
    if (reply.behaviour == Behaviour::DripHead) {
        WriteDrippingHead(ssl, reply);
        return;
    }
    const std::size_t sent = reply.behaviour == Behaviour::TruncateBody ? reply.body.size() / 2 : reply.body.size();
    std::string text = "HTTP/1.1 " + std::to_string(reply.status) + " " + ReasonPhrase(reply.status) + "\r\n" +
                       "Content-Length: " + std::to_string(reply.body.size()) + "\r\n" + "Connection: close\r\n" +
                       reply.extraHeaders + "\r\n" + reply.body.substr(0, sent);
    SSL_write(ssl, text.data(), static_cast<int>(text.size()));
    SSL_shutdown(ssl);
}

void TestHttpsServer::WriteDrippingHead(SSL* ssl, const Reply& reply) {
    constexpr int kDrops = 50;
    const std::string status = "HTTP/1.1 " + std::to_string(reply.status) + " " + ReasonPhrase(reply.status) + "\r\n";
    if (SSL_write(ssl, status.data(), static_cast<int>(status.size())) <= 0)
        return;
    for (int drop = 0; drop < kDrops && !stop_.load(); ++drop) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const std::string line = "X-Drop: " + std::to_string(drop) + "\r\n";
        if (SSL_write(ssl, line.data(), static_cast<int>(line.size())) <= 0)
            return;  // the client has hung up
    }
    const std::string rest =
        "Content-Length: " + std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n" + reply.body;
    SSL_write(ssl, rest.data(), static_cast<int>(rest.size()));
    SSL_shutdown(ssl);
}

void TestHttpsServer::WriteEndlessBody(SSL* ssl, const Reply& reply) {
    constexpr std::size_t kMostSent = 64u << 20;
    const std::string head = "HTTP/1.1 " + std::to_string(reply.status) + " " + ReasonPhrase(reply.status) +
                             "\r\nConnection: close\r\n" + reply.extraHeaders + "\r\n";
    if (SSL_write(ssl, head.data(), static_cast<int>(head.size())) <= 0 || reply.body.empty())
        return;
    for (std::size_t sent = 0; sent < kMostSent && !stop_.load(); sent += reply.body.size()) {
        if (SSL_write(ssl, reply.body.data(), static_cast<int>(reply.body.size())) <= 0)
            return;  // the client has hung up
    }
    SSL_shutdown(ssl);
}

std::uint16_t UnusedPort() {
    std::uint16_t port = 0;
    ::close(ListenOnLoopback(port));
    return port;
}

}  // namespace vn::test

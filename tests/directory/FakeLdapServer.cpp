#include "directory/FakeLdapServer.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <stdexcept>
#include <string_view>

#include "platform/https/TestHttpsServer.h"

namespace vn::test {
namespace {

constexpr auto kIoLimit = std::chrono::seconds(10);
constexpr std::string_view kPagedResultsOid = "1.2.840.113556.1.4.319";
constexpr std::string_view kCookiePrefix = "page-";

// BER, as much of it as LDAP's messages here need.
namespace ber {

constexpr unsigned char kInteger = 0x02, kOctets = 0x04, kEnumerated = 0x0A, kSequence = 0x30, kSet = 0x31,
                        kControls = 0xA0;

struct Element {
    unsigned char tag = 0;
    std::string_view content;
};

// Takes the element at the front of in.
bool Take(std::string_view& in, Element& element) {
    if (in.size() < 2)
        return false;
    element.tag = static_cast<unsigned char>(in[0]);
    std::size_t length = static_cast<unsigned char>(in[1]);
    std::size_t head = 2;
    if (length & 0x80) {
        const std::size_t bytes = length & 0x7F;
        if (bytes > 4 || in.size() < head + bytes)
            return false;
        length = 0;
        for (std::size_t i = 0; i < bytes; ++i)
            length = (length << 8) | static_cast<unsigned char>(in[head + i]);
        head += bytes;
    }
    if (in.size() - head < length)
        return false;
    element.content = in.substr(head, length);
    in.remove_prefix(head + length);
    return true;
}

int ReadInteger(std::string_view content) {
    int value = 0;
    for (const char c : content)
        value = (value << 8) | static_cast<unsigned char>(c);
    return value;
}

std::string Encode(unsigned char tag, std::string_view content) {
    std::string out(1, static_cast<char>(tag));
    if (content.size() < 0x80) {
        out += static_cast<char>(content.size());
    } else {
        out += static_cast<char>(0x84);
        for (int shift = 24; shift >= 0; shift -= 8)
            out += static_cast<char>((content.size() >> shift) & 0xFF);
    }
    out += content;
    return out;
}

std::string Integer(unsigned char tag, int value) {
    std::string bytes;
    do {
        bytes.insert(bytes.begin(), static_cast<char>(value & 0xFF));
        value >>= 8;
    } while (value > 0);
    if (static_cast<unsigned char>(bytes[0]) & 0x80)
        bytes.insert(bytes.begin(), '\0');
    return Encode(tag, bytes);
}

std::string Octets(std::string_view text) { return Encode(kOctets, text); }

}  // namespace ber

// An LDAP message: its id, the operation and any controls.
std::string Message(int id, const std::string& operation, const std::string& controls = {}) {
    return ber::Encode(ber::kSequence, ber::Integer(ber::kInteger, id) + operation + controls);
}

// A successful LDAPResult under the operation's tag.
std::string Success(unsigned char tag) {
    return ber::Encode(tag, ber::Integer(ber::kEnumerated, 0) + ber::Octets("") + ber::Octets(""));
}

std::string ComputerEntry(const std::string& base, const std::string& hostName) {
    const std::string dn = "CN=" + hostName.substr(0, hostName.find('.')) + "," + base;
    const std::string classes =
        ber::Encode(ber::kSequence,
                    ber::Octets("objectClass") + ber::Encode(ber::kSet, ber::Octets("top") + ber::Octets("computer")));
    const std::string host =
        ber::Encode(ber::kSequence, ber::Octets("dNSHostName") + ber::Encode(ber::kSet, ber::Octets(hostName)));
    return ber::Encode(0x64, ber::Octets(dn) + ber::Encode(ber::kSequence, classes + host));
}

// The paged-results control of a request: page size and cookie.
void ReadPagedControl(std::string_view controls, FakeLdapServer::Search& search) {
    for (ber::Element control; ber::Take(controls, control);) {
        std::string_view fields = control.content;
        ber::Element oid, part;
        if (!ber::Take(fields, oid) || oid.content != kPagedResultsOid)
            continue;
        while (ber::Take(fields, part) && part.tag != ber::kOctets) {
        }
        std::string_view value = part.content;
        ber::Element sequence, size, cookie;
        if (ber::Take(value, sequence) && ber::Take(sequence.content, size) && ber::Take(sequence.content, cookie)) {
            search.pageSize = ber::ReadInteger(size.content);
            search.cookie = cookie.content;
        }
    }
}

}  // namespace

// One client connection, in plain text until StartTLS, then over TLS.
class FakeLdapServer::Connection {
public:
    Connection(int socket, const std::atomic<bool>& stop) : socket_(socket), stop_(stop) {}
    ~Connection() { SSL_free(ssl_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // One whole message, its outer sequence included.
    bool Read(std::string& message) {
        message.clear();
        if (!ReadExact(message, 2))
            return false;
        std::size_t length = static_cast<unsigned char>(message[1]);
        if (length & 0x80) {
            const std::size_t bytes = length & 0x7F;
            if (bytes > 4 || !ReadExact(message, bytes))
                return false;
            length = 0;
            for (std::size_t i = 0; i < bytes; ++i)
                length = (length << 8) | static_cast<unsigned char>(message[2 + i]);
        }
        return ReadExact(message, length);
    }

    bool Write(const std::string& data) {
        if (ssl_)
            return SSL_write(ssl_, data.data(), static_cast<int>(data.size())) == static_cast<int>(data.size());
        return ::send(socket_, data.data(), data.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(data.size());
    }

    bool StartTls(SSL_CTX* context) {
        ssl_ = SSL_new(context);
        SSL_set_fd(ssl_, socket_);
        return SSL_accept(ssl_) == 1;
    }

private:
    // Appends exactly size more bytes to data.
    bool ReadExact(std::string& data, std::size_t size) {
        const auto deadline = std::chrono::steady_clock::now() + kIoLimit;
        char buffer[4096];
        while (size > 0) {
            if ((!ssl_ || SSL_pending(ssl_) == 0) && !WaitReadable(socket_, stop_, deadline))
                return false;
            const int wanted = static_cast<int>(std::min(size, sizeof buffer));
            const int got =
                ssl_ ? SSL_read(ssl_, buffer, wanted) : static_cast<int>(::recv(socket_, buffer, wanted, 0));
            if (got <= 0)
                return false;
            data.append(buffer, static_cast<std::size_t>(got));
            size -= static_cast<std::size_t>(got);
        }
        return true;
    }

    int socket_;
    const std::atomic<bool>& stop_;
    SSL* ssl_ = nullptr;
};

FakeLdapServer::FakeLdapServer(const Identity& identity) {
    std::signal(SIGPIPE, SIG_IGN);  // a client that hangs up must not end the test program
    context_ = SSL_CTX_new(TLS_server_method());
    if (!context_ || SSL_CTX_use_certificate(context_, identity.certificate.get()) != 1 ||
        SSL_CTX_use_PrivateKey(context_, identity.key.get()) != 1)
        throw std::runtime_error("fake directory: TLS context");
    listener_ = ListenOnLoopback(port_);
    thread_ = std::thread(&FakeLdapServer::Serve, this);
}

FakeLdapServer::~FakeLdapServer() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
    SSL_CTX_free(context_);
}

void FakeLdapServer::SetComputers(const std::string& base, std::vector<std::string> hostNames, int pageLength) {
    std::lock_guard lock(mutex_);
    computers_[base] = std::move(hostNames);
    pageLength_ = pageLength;
}

std::vector<FakeLdapServer::Search> FakeLdapServer::Searches() const {
    std::lock_guard lock(mutex_);
    return searches_;
}

void FakeLdapServer::Serve() {
    AcceptUntilStopped(listener_, stop_, [this](int socket) { Handle(socket); });
}

void FakeLdapServer::Handle(int socket) {
    Connection connection(socket, stop_);
    for (std::string data; connection.Read(data);) {
        std::string_view whole = data;
        ber::Element message, id, operation;
        if (!ber::Take(whole, message) || !ber::Take(message.content, id) || !ber::Take(message.content, operation))
            return;
        const int messageId = ber::ReadInteger(id.content);
        switch (operation.tag) {
        case 0x77:  // the extended operation StartTLS
            if (!connection.Write(Message(messageId, Success(0x78))) || !connection.StartTls(context_))
                return;
            break;
        case 0x60:  // bind: any name and password will do
            if (!connection.Write(Message(messageId, Success(0x61))))
                return;
            break;
        case 0x63: {  // search
            Search search;
            std::string_view fields = operation.content;
            ber::Element base, controls;
            if (ber::Take(fields, base))
                search.base = base.content;
            if (ber::Take(message.content, controls) && controls.tag == ber::kControls)
                ReadPagedControl(controls.content, search);
            if (!connection.Write(SearchAnswer(messageId, search)))
                return;
            break;
        }
        case 0x50:  // abandon
            break;
        default:  // unbind, or what this server does not speak
            return;
        }
    }
}

std::string FakeLdapServer::SearchAnswer(int messageId, const Search& search) {
    std::lock_guard lock(mutex_);
    searches_.push_back(search);
    const std::vector<std::string>& all = computers_[search.base];
    const std::size_t start =
        search.cookie.rfind(kCookiePrefix, 0) == 0 ? std::stoul(search.cookie.substr(kCookiePrefix.size())) : 0;
    const auto length = static_cast<std::size_t>(std::max(pageLength_ != 0 ? pageLength_ : search.pageSize, 0));
    const std::size_t end = std::min(all.size(), start + length);
    std::string answer;
    for (std::size_t i = std::min(start, end); i < end; ++i)
        answer += Message(messageId, ComputerEntry(search.base, all[i]));
    const std::string next = end < all.size() ? std::string(kCookiePrefix) + std::to_string(end) : std::string();
    const std::string paged =
        ber::Encode(ber::kSequence,
                    ber::Octets(kPagedResultsOid) +
                        ber::Octets(ber::Encode(ber::kSequence, ber::Integer(ber::kInteger, 0) + ber::Octets(next))));
    return answer + Message(messageId, Success(0x65), ber::Encode(ber::kControls, paged));
}

}  // namespace vn::test

#include "platform/smb/protocol/HelperMessages.h"

#include <cstring>

#include "platform/smb/protocol/UrlHost.h"

namespace vn::smb::helper {

namespace {

enum class Type : std::uint8_t {
    Logon = 1,
    OpenPipe = 2,
    WritePipe = 3,
    ReadPipe = 4,
    ClosePipe = 5,
    Browse = 6,
    TransactPipe = 7,
    Done = 64,
    Opened = 65,
    Failed = 66,
    Data = 67,
    Ended = 68,
    BrowseEntry = 69,
};

class FrameWriter {
public:
    explicit FrameWriter(Type type) : bytes_(kFrameLengthSize, 0) { U8(static_cast<std::uint8_t>(type)); }

    void U8(std::uint8_t value) { bytes_.push_back(value); }
    void U16(std::uint16_t value) {
        U8(static_cast<std::uint8_t>(value));
        U8(static_cast<std::uint8_t>(value >> 8));
    }
    void U32(std::uint32_t value) {
        U16(static_cast<std::uint16_t>(value));
        U16(static_cast<std::uint16_t>(value >> 16));
    }
    // Longer strings than a field allows are cut; the reader would refuse them.
    void String(const std::string& text, std::size_t limit) {
        const std::size_t size = text.size() < limit ? text.size() : limit;
        U16(static_cast<std::uint16_t>(size));
        bytes_.insert(bytes_.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(size));
    }
    void Bytes(const std::vector<std::uint8_t>& data) { bytes_.insert(bytes_.end(), data.begin(), data.end()); }

    std::vector<std::uint8_t> Finish() {
        const auto body = static_cast<std::uint32_t>(bytes_.size() - kFrameLengthSize);
        for (std::size_t i = 0; i < kFrameLengthSize; ++i)
            bytes_[i] = static_cast<std::uint8_t>(body >> (8 * i));
        return std::move(bytes_);
    }

private:
    std::vector<std::uint8_t> bytes_;
};

// Reads the fields of one body; every read checks what is left first.
class FrameReader {
public:
    explicit FrameReader(std::span<const std::uint8_t> body) : body_(body) {}

    bool U8(std::uint8_t& value) {
        if (body_.size() - at_ < 1)
            return false;
        value = body_[at_++];
        return true;
    }
    bool U16(std::uint16_t& value) {
        std::uint8_t low = 0, high = 0;
        if (!U8(low) || !U8(high))
            return false;
        value = static_cast<std::uint16_t>(low | (high << 8));
        return true;
    }
    bool U32(std::uint32_t& value) {
        std::uint16_t low = 0, high = 0;
        if (!U16(low) || !U16(high))
            return false;
        value = low | (static_cast<std::uint32_t>(high) << 16);
        return true;
    }
    bool String(std::string& text, std::size_t limit) {
        std::uint16_t size = 0;
        if (!U16(size) || size > limit || size > body_.size() - at_)
            return false;
        const auto* start = reinterpret_cast<const char*>(body_.data() + at_);
        if (std::memchr(start, '\0', size))
            return false;
        text.assign(start, size);
        at_ += size;
        return true;
    }
    // The rest of the body, which must hold between least and limit bytes.
    bool Rest(std::vector<std::uint8_t>& bytes, std::size_t limit, std::size_t least = 1) {
        const std::size_t size = body_.size() - at_;
        if (size < least || size > limit)
            return false;
        bytes.assign(body_.begin() + static_cast<std::ptrdiff_t>(at_), body_.end());
        at_ = body_.size();
        return true;
    }
    bool AtEnd() const { return at_ == body_.size(); }

private:
    std::span<const std::uint8_t> body_;
    std::size_t at_ = 0;
};

bool PipeNameCharacters(const std::string& name) {
    if (name.empty())
        return false;
    for (char c : name) {
        const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
        if (!allowed)
            return false;
    }
    return true;
}

bool DecodeLogon(FrameReader& r, Logon& logon) {
    std::uint8_t flags = 0;
    if (!r.U8(flags) || flags > 1)
        return false;
    logon.kerberos = flags == 1;
    return r.String(logon.user, kMaxAccountText) && r.String(logon.password, kMaxAccountText) &&
           r.String(logon.domain, kMaxAccountText);
}

bool DecodeOpenPipe(FrameReader& r, OpenPipe& open) {
    std::string host;
    return r.String(open.host, kMaxHostName) && r.String(open.pipe, kMaxPipeName) && UrlHostName(open.host, host) &&
           host == open.host && PipeNameCharacters(open.pipe);
}

bool DecodeReadPipe(FrameReader& r, ReadPipe& read) {
    return r.U32(read.handle) && r.U32(read.size) && read.size >= 1 && read.size <= kMaxReadSize;
}

bool DecodeBrowseEntry(FrameReader& r, BrowseEntry& entry) {
    std::uint8_t kind = 0;
    if (!r.U8(kind) || kind < 1 || kind > 4)
        return false;
    entry.kind = static_cast<EntryKind>(kind);
    return r.String(entry.name, kMaxEntryText) && r.String(entry.comment, kMaxEntryText);
}

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

}  // namespace

std::uint32_t FrameBodyLength(const std::uint8_t* lengthBytes) {
    return lengthBytes[0] | (lengthBytes[1] << 8) | (lengthBytes[2] << 16) |
           (static_cast<std::uint32_t>(lengthBytes[3]) << 24);
}

std::size_t PduLength(std::span<const std::uint8_t, kPduHeaderBytes> header) {
    constexpr std::size_t kFragLengthAt = 8;
    const bool littleEndian = (header[4] & 0xF0) == 0x10;
    const std::uint8_t low = littleEndian ? header[kFragLengthAt] : header[kFragLengthAt + 1];
    const std::uint8_t high = littleEndian ? header[kFragLengthAt + 1] : header[kFragLengthAt];
    const std::size_t length = low | (std::size_t{high} << 8);
    return length < kPduHeaderBytes ? 0 : length;
}

std::vector<std::uint8_t> EncodeRequest(const Request& request) {
    return std::visit(Overloaded{
                          [](const Logon& m) {
                              FrameWriter w(Type::Logon);
                              w.U8(m.kerberos ? 1 : 0);
                              w.String(m.user, kMaxAccountText);
                              w.String(m.password, kMaxAccountText);
                              w.String(m.domain, kMaxAccountText);
                              return w.Finish();
                          },
                          [](const OpenPipe& m) {
                              FrameWriter w(Type::OpenPipe);
                              w.String(m.host, kMaxHostName);
                              w.String(m.pipe, kMaxPipeName);
                              return w.Finish();
                          },
                          [](const WritePipe& m) {
                              FrameWriter w(Type::WritePipe);
                              w.U32(m.handle);
                              w.Bytes(m.bytes);
                              return w.Finish();
                          },
                          [](const ReadPipe& m) {
                              FrameWriter w(Type::ReadPipe);
                              w.U32(m.handle);
                              w.U32(m.size);
                              return w.Finish();
                          },
                          [](const ClosePipe& m) {
                              FrameWriter w(Type::ClosePipe);
                              w.U32(m.handle);
                              return w.Finish();
                          },
                          [](const Browse& m) {
                              FrameWriter w(Type::Browse);
                              w.String(m.url, kMaxUrl);
                              return w.Finish();
                          },
                          [](const TransactPipe& m) {
                              FrameWriter w(Type::TransactPipe);
                              w.U32(m.handle);
                              w.Bytes(m.bytes);
                              return w.Finish();
                          },
                      },
                      request);
}

std::vector<std::uint8_t> EncodeReply(const Reply& reply) {
    return std::visit(Overloaded{
                          [](const Done&) { return FrameWriter(Type::Done).Finish(); },
                          [](const Opened& m) {
                              FrameWriter w(Type::Opened);
                              w.U32(m.handle);
                              return w.Finish();
                          },
                          [](const Failed& m) {
                              FrameWriter w(Type::Failed);
                              w.U32(static_cast<std::uint32_t>(m.error));
                              return w.Finish();
                          },
                          [](const Data& m) {
                              FrameWriter w(Type::Data);
                              w.Bytes(m.bytes);
                              return w.Finish();
                          },
                          [](const Ended&) { return FrameWriter(Type::Ended).Finish(); },
                          [](const BrowseEntry& m) {
                              FrameWriter w(Type::BrowseEntry);
                              w.U8(static_cast<std::uint8_t>(m.kind));
                              w.String(m.name, kMaxEntryText);
                              w.String(m.comment, kMaxEntryText);
                              return w.Finish();
                          },
                      },
                      reply);
}

bool DecodeRequest(std::span<const std::uint8_t> body, Request& request) {
    FrameReader r(body);
    std::uint8_t type = 0;
    if (body.size() > kMaxFrameBody || !r.U8(type))
        return false;
    bool ok = false;
    switch (static_cast<Type>(type)) {
    case Type::Logon: ok = DecodeLogon(r, request.emplace<Logon>()); break;
    case Type::OpenPipe: ok = DecodeOpenPipe(r, request.emplace<OpenPipe>()); break;
    case Type::WritePipe: {
        auto& write = request.emplace<WritePipe>();
        ok = r.U32(write.handle) && r.Rest(write.bytes, kMaxReadSize);
        break;
    }
    case Type::ReadPipe: ok = DecodeReadPipe(r, request.emplace<ReadPipe>()); break;
    case Type::TransactPipe: {
        auto& transact = request.emplace<TransactPipe>();
        ok = r.U32(transact.handle) && r.Rest(transact.bytes, kMaxReadSize, 0);
        break;
    }
    case Type::ClosePipe: ok = r.U32(request.emplace<ClosePipe>().handle); break;
    case Type::Browse: {
        auto& browse = request.emplace<Browse>();
        ok = r.String(browse.url, kMaxUrl) && BrowseUrl(browse.url);
        break;
    }
    default: return false;
    }
    return ok && r.AtEnd();
}

bool DecodeReply(std::span<const std::uint8_t> body, Reply& reply) {
    FrameReader r(body);
    std::uint8_t type = 0;
    if (body.size() > kMaxFrameBody || !r.U8(type))
        return false;
    bool ok = false;
    switch (static_cast<Type>(type)) {
    case Type::Done:
        reply.emplace<Done>();
        ok = true;
        break;
    case Type::Opened: ok = r.U32(reply.emplace<Opened>().handle); break;
    case Type::Failed: {
        std::uint32_t error = 0;
        ok = r.U32(error) && error > 0 && error <= 0x7FFFFFFF;
        reply.emplace<Failed>().error = static_cast<std::int32_t>(error);
        break;
    }
    case Type::Data: ok = r.Rest(reply.emplace<Data>().bytes, kMaxReadSize); break;
    case Type::Ended:
        reply.emplace<Ended>();
        ok = true;
        break;
    case Type::BrowseEntry: ok = DecodeBrowseEntry(r, reply.emplace<BrowseEntry>()); break;
    default: return false;
    }
    return ok && r.AtEnd();
}

}  // namespace vn::smb::helper

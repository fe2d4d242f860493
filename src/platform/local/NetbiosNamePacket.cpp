#include "platform/local/NetbiosNamePacket.h"

#include <algorithm>

namespace vn {
namespace {

constexpr std::size_t kNameLength = 15;
constexpr std::size_t kEncodedLength = 32;  // two letters per byte of name and type
constexpr std::size_t kHeaderLength = 12;
constexpr std::uint16_t kResponseFlag = 0x8000;
constexpr std::uint16_t kOpcodeMask = 0x7800;
constexpr std::uint16_t kRecursionDesired = 0x0100;
constexpr std::uint16_t kBroadcastFlag = 0x0010;
constexpr std::uint16_t kRcodeMask = 0x000F;
constexpr std::uint16_t kTypeNB = 0x0020;
constexpr std::uint16_t kClassIN = 0x0001;
constexpr std::size_t kAddressEntryLength = 6;  // NB_FLAGS and NB_ADDRESS

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The name as it travels: its length, the first-level encoding of the 16
// bytes (each half-byte plus 'A') and the empty scope.
std::vector<std::uint8_t> EncodedName(std::string_view name, std::uint8_t type) {
    std::uint8_t raw[kNameLength + 1];
    std::fill(std::begin(raw), std::end(raw), static_cast<std::uint8_t>(' '));
    for (std::size_t i = 0; i < name.size() && i < kNameLength; ++i)
        raw[i] = static_cast<std::uint8_t>(Upper(name[i]));
    raw[kNameLength] = type;
    std::vector<std::uint8_t> out;
    out.push_back(static_cast<std::uint8_t>(kEncodedLength));
    for (std::uint8_t byte : raw) {
        out.push_back(static_cast<std::uint8_t>('A' + (byte >> 4)));
        out.push_back(static_cast<std::uint8_t>('A' + (byte & 0x0F)));
    }
    out.push_back(0);
    return out;
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    bool Read16(std::uint16_t& value) {
        if (!Has(2))
            return false;
        value = static_cast<std::uint16_t>((bytes_[at_] << 8) | bytes_[at_ + 1]);
        at_ += 2;
        return true;
    }
    bool Read32(std::uint32_t& value) {
        std::uint16_t high = 0;
        std::uint16_t low = 0;
        if (!Read16(high) || !Read16(low))
            return false;
        value = (static_cast<std::uint32_t>(high) << 16) | low;
        return true;
    }
    bool Skip(std::size_t count) {
        if (!Has(count))
            return false;
        at_ += count;
        return true;
    }
    // The resource record's name: the labels as they stand (a pointer to
    // the question's name also counts as equal), compared with expected.
    bool NameEquals(const std::vector<std::uint8_t>& expected) {
        if (Has(2) && (bytes_[at_] & 0xC0) == 0xC0) {
            at_ += 2;  // a pointer: responders point back at the question, which we sent
            return true;
        }
        if (!Has(expected.size()))
            return false;
        const bool same = std::equal(
            expected.begin(), expected.end(), bytes_.begin() + static_cast<long>(at_),
            [](std::uint8_t a, std::uint8_t b) { return Upper(static_cast<char>(a)) == Upper(static_cast<char>(b)); });
        at_ += expected.size();
        return same;
    }

private:
    bool Has(std::size_t count) const { return count <= bytes_.size() - at_; }

    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
};

}  // namespace

bool IsNetbiosName(std::string_view name) {
    if (name.empty() || name.size() > kNameLength)
        return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == '.' || c == ' ' || c == '*' || byte < 0x20 || byte == 0x7F;
    });
}

std::vector<std::uint8_t> EncodeNameQuery(std::uint16_t transactionId, std::string_view name, std::uint8_t type,
                                          bool broadcast) {
    std::vector<std::uint8_t> out;
    Put16(out, transactionId);
    Put16(out, static_cast<std::uint16_t>(kRecursionDesired | (broadcast ? kBroadcastFlag : 0)));
    Put16(out, 1);  // one question
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, 0);
    const std::vector<std::uint8_t> encoded = EncodedName(name, type);
    out.insert(out.end(), encoded.begin(), encoded.end());
    Put16(out, kTypeNB);
    Put16(out, kClassIN);
    return out;
}

NameQueryAnswer DecodeNameQueryResponse(std::span<const std::uint8_t> packet, std::uint16_t transactionId,
                                        std::string_view name, std::uint8_t type, IPv4& address) {
    Reader reader(packet);
    std::uint16_t id = 0;
    std::uint16_t flags = 0;
    std::uint16_t questions = 0;
    std::uint16_t answers = 0;
    if (!reader.Read16(id) || !reader.Read16(flags) || !reader.Read16(questions) || !reader.Read16(answers) ||
        !reader.Skip(kHeaderLength - 8))
        return NameQueryAnswer::Unrelated;
    // Our own broadcast comes back to us as a request; a wait-for-ack or any
    // other operation is not the answer either.
    if (id != transactionId || (flags & kResponseFlag) == 0 || (flags & kOpcodeMask) != 0 || questions != 0)
        return NameQueryAnswer::Unrelated;
    const std::vector<std::uint8_t> expected = EncodedName(name, type);
    if ((flags & kRcodeMask) != 0)
        return NameQueryAnswer::Negative;
    std::uint16_t recordType = 0;
    std::uint16_t recordClass = 0;
    std::uint32_t ttl = 0;
    std::uint16_t length = 0;
    if (answers == 0 || !reader.NameEquals(expected) || !reader.Read16(recordType) || !reader.Read16(recordClass) ||
        !reader.Read32(ttl) || !reader.Read16(length))
        return NameQueryAnswer::Unrelated;
    if (recordType != kTypeNB || recordClass != kClassIN || length < kAddressEntryLength)
        return NameQueryAnswer::Unrelated;
    std::uint32_t first = 0;
    if (!reader.Skip(2) || !reader.Read32(first) || first == 0)
        return NameQueryAnswer::Unrelated;
    address = first;
    return NameQueryAnswer::Positive;
}

}  // namespace vn

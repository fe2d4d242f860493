// The NetBIOS name service packets and what a Samba client configuration
// says about name resolution. Nothing here sends a packet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/local/NetbiosNamePacket.h"
#include "platform/local/NetbiosNameResolver.h"
#include "platform/local/SambaConfig.h"

namespace vn {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Method = NameResolution::Method;

constexpr std::uint16_t kId = 0x1234;
constexpr IPv4 kLab2 = 0x7F000003;

// "LAB2" padded to 15 bytes with blanks, then the server type, each byte as
// two letters.
const std::string kEncodedLab2 =
    "EMEBECDC"
    "CACACACACACACACACACACA"
    "CA";

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

Bytes EncodedName(const std::string& letters) {
    Bytes name{static_cast<std::uint8_t>(letters.size())};
    Append(name, Text(letters));
    name.push_back(0);
    return name;
}

// A name query response: header, one answer record with the given name
// bytes and address entries.
Bytes Response(std::uint16_t id, std::uint16_t flags, const Bytes& name, std::uint16_t type, const Bytes& entries) {
    Bytes out{static_cast<std::uint8_t>(id >> 8),
              static_cast<std::uint8_t>(id),
              static_cast<std::uint8_t>(flags >> 8),
              static_cast<std::uint8_t>(flags),
              0,
              0,
              0,
              1,
              0,
              0,
              0,
              0};
    Append(out, name);
    Append(out, {static_cast<std::uint8_t>(type >> 8), static_cast<std::uint8_t>(type), 0, 1, 0, 0, 0x0E, 0x10,
                 static_cast<std::uint8_t>(entries.size() >> 8), static_cast<std::uint8_t>(entries.size())});
    Append(out, entries);
    return out;
}

const Bytes kLab2Entry{0x00, 0x00, 127, 0, 0, 3};

TEST(NetbiosNamePacketTest, QueryCarriesTheUpperCasedPaddedNameAndTheBroadcastFlag) {
    Bytes expected{0x12, 0x34, 0x01, 0x00, 0, 1, 0, 0, 0, 0, 0, 0};
    Append(expected, EncodedName(kEncodedLab2));
    Append(expected, {0x00, 0x20, 0x00, 0x01});
    EXPECT_EQ(EncodeNameQuery(kId, "lab2", kNetbiosServerType, false), expected);
    expected[3] = 0x10;
    EXPECT_EQ(EncodeNameQuery(kId, "LAB2", kNetbiosServerType, true), expected);
}

TEST(NetbiosNamePacketTest, OnlyAPositiveAnswerToThisQueryGivesAnAddress) {
    const Bytes name = EncodedName(kEncodedLab2);
    Bytes truncated = Response(kId, 0x8500, name, 0x20, kLab2Entry);
    truncated.resize(truncated.size() - 3);
    Bytes ownBroadcast = EncodeNameQuery(kId, "LAB2", kNetbiosServerType, true);
    struct Case {
        const char* what;
        Bytes packet;
        NameQueryAnswer answer;
    };
    const std::vector<Case> cases = {
        {"positive", Response(kId, 0x8500, name, 0x20, kLab2Entry), NameQueryAnswer::Positive},
        {"name as a pointer", Response(kId, 0x8500, {0xC0, 0x0C}, 0x20, kLab2Entry), NameQueryAnswer::Positive},
        {"no such name", Response(kId, 0x8583, name, 0x20, {}), NameQueryAnswer::Negative},
        {"another query's", Response(kId + 1, 0x8500, name, 0x20, kLab2Entry), NameQueryAnswer::Unrelated},
        {"our own broadcast", ownBroadcast, NameQueryAnswer::Unrelated},
        {"wait for acknowledgement", Response(kId, 0xB800, name, 0x20, {}), NameQueryAnswer::Unrelated},
        {"another name", Response(kId, 0x8500, EncodedName("EMEBECDD" + kEncodedLab2.substr(8)), 0x20, kLab2Entry),
         NameQueryAnswer::Unrelated},
        {"status record", Response(kId, 0x8500, name, 0x21, kLab2Entry), NameQueryAnswer::Unrelated},
        {"no address entry", Response(kId, 0x8500, name, 0x20, {0, 0, 127}), NameQueryAnswer::Unrelated},
        {"address 0", Response(kId, 0x8500, name, 0x20, {0, 0, 0, 0, 0, 0}), NameQueryAnswer::Unrelated},
        {"cut short", truncated, NameQueryAnswer::Unrelated},
        {"header only", Bytes{0x12, 0x34, 0x85, 0x00, 0, 0, 0, 1}, NameQueryAnswer::Unrelated},
        {"empty", Bytes{}, NameQueryAnswer::Unrelated},
    };
    for (const Case& c : cases) {
        IPv4 address = 0;
        EXPECT_EQ(DecodeNameQueryResponse(c.packet, kId, "LAB2", kNetbiosServerType, address), c.answer) << c.what;
        EXPECT_EQ(address, c.answer == NameQueryAnswer::Positive ? kLab2 : 0u) << c.what;
    }
}

TEST(NetbiosNamePacketTest, DnsNamesAndOverlongNamesAreNotNetbiosNames) {
    for (const char* name : {"LAB2", "pc-01", "A23456789012345"})
        EXPECT_TRUE(IsNetbiosName(name)) << name;
    for (const char* name : {"", "host.example", "A234567890123456", "two words", "*", "tab\tname"})
        EXPECT_FALSE(IsNetbiosName(name)) << name;
}

TEST(NameResolutionTest, FollowsTheClientConfiguration) {
    const std::vector<LocalInterface> interfaces = {
        {"lo", 0x7F000001, 0xFF000000, false},
        {"eth0", 0xC0A80105, 0xFFFFFF00, true},  // 192.168.1.5/24
        {"eth1", 0x0A000002, 0xFFFF0000, true},  // 10.0.0.2/16
    };
    struct Case {
        const char* what;
        std::string config;
        std::vector<Method> order;
        std::vector<IPv4> wins;
        std::vector<IPv4> broadcasts;
    };
    const std::vector<Case> cases = {
        {"Samba's defaults: every interface that can broadcast",
         "[global]\nworkgroup = X\n",
         {Method::Wins, Method::Host, Method::Broadcast},
         {},
         {0xC0A801FF, 0x0A00FFFF}},
        {"the lab's loopback-only client",
         "[global]\nname resolve order = wins\nwins server = 127.0.0.2\n"
         "interfaces = 127.0.0.1/8\n",
         {Method::Wins},
         {0x7F000002},
         {0x7FFFFFFF}},
        {"lists with commas, tags and capitals",
         "Name Resolve Order = BCAST, host lmhosts\n"
         "wins server = eth0:10.0.0.1, 10.0.0.9 nosuchname\n",
         {Method::Broadcast, Method::Host},
         {0x0A000001, 0x0A000009},
         {0xC0A801FF, 0x0A00FFFF}},
        {"interfaces by mask, by name, by address",
         "interfaces = 192.168.7.1/255.255.255.0 eth1;speed=1000 "
         "192.168.1.5 fe80::1/64\n",
         {Method::Wins, Method::Host, Method::Broadcast},
         {},
         {0xC0A807FF, 0x0A00FFFF, 0xC0A801FF}},
        {"interface name patterns",
         "interfaces = eth*\nname resolve order = bcast\n",
         {Method::Broadcast},
         {},
         {0xC0A801FF, 0x0A00FFFF}},
        {"a share's settings do not count",
         "[global]\nname resolve order = host\n[data]\nwins server = 10.0.0.1\n",
         {Method::Host},
         {},
         {0xC0A801FF, 0x0A00FFFF}},
    };
    for (const Case& c : cases) {
        const NameResolution resolution = NameResolutionFromSamba(GlobalSambaParameters(c.config), interfaces);
        EXPECT_EQ(resolution.order, c.order) << c.what;
        EXPECT_EQ(resolution.winsServers, c.wins) << c.what;
        EXPECT_EQ(resolution.broadcastAddresses, c.broadcasts) << c.what;
    }
}

}  // namespace
}  // namespace vn

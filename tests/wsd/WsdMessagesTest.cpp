#include <gtest/gtest.h>

#include <QXmlStreamReader>

#include "PeerAddresses.h"
#include "platform/wsd/MetadataTarget.h"
#include "platform/wsd/WsdMessages.h"

namespace vn::wsd {
namespace {

const std::string kNamespaces =
    "xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
    "xmlns:wsa=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\" "
    "xmlns:wsd=\"http://schemas.xmlsoap.org/ws/2005/04/discovery\" "
    "xmlns:wsdp=\"http://schemas.xmlsoap.org/ws/2006/02/devprof\" "
    "xmlns:pub=\"http://schemas.microsoft.com/windows/pub/2005/07\"";

std::string Envelope(const std::string& body, const std::string& relatesTo = "urn:uuid:ours",
                     const std::string& namespaces = kNamespaces) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope " + namespaces + "><soap:Header><wsa:RelatesTo>" +
           relatesTo + "</wsa:RelatesTo></soap:Header><soap:Body>" + body + "</soap:Body></soap:Envelope>";
}

std::string Match(const std::string& element, const std::string& endpoint, const std::string& types,
                  const std::string& xaddrs) {
    return "<wsd:" + element + "><wsa:EndpointReference><wsa:Address>" + endpoint +
           "</wsa:Address></wsa:EndpointReference><wsd:Types>" + types + "</wsd:Types>" +
           (xaddrs.empty() ? "" : "<wsd:XAddrs>" + xaddrs + "</wsd:XAddrs>") + "</wsd:" + element + ">";
}

std::string Repeated(const std::string& text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += text;
    return out;
}

// What wsdd answered a Probe with on this machine.
const std::string kWsddProbeMatch =
    Envelope("<wsd:ProbeMatches>" + Match("ProbeMatch", "urn:uuid:e5e61fb5", "wsdp:Device pub:Computer", "") +
             "</wsd:ProbeMatches>");

const std::string kEntityBomb =
    "<?xml version=\"1.0\"?><!DOCTYPE soap:Envelope [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>" +
    Envelope("<wsd:ProbeMatches>" + Match("ProbeMatch", "&b;", "wsdp:Device pub:Computer", "") + "</wsd:ProbeMatches>")
        .substr(38);

struct DatagramCase {
    const char* what;
    std::string datagram;
    bool parses;
    WsdAction action;
    std::vector<std::string> endpoints;
    std::vector<std::string> firstXAddrs;
    bool firstIsComputer;
};

TEST(WsdDatagramTest, AnswersAreReadWithinTheirCapsAndHostileDocumentsRefused) {
    const std::string xaddr = "http://169.254.10.2:5357/e5e61fb5";
    const DatagramCase cases[] = {
        {"wsdd's ProbeMatch without XAddrs",
         kWsddProbeMatch,
         true,
         WsdAction::ProbeMatches,
         {"urn:uuid:e5e61fb5"},
         {},
         true},
        {"a ResolveMatch with two XAddrs",
         Envelope("<wsd:ResolveMatches>" +
                  Match("ResolveMatch", "urn:uuid:r", "wsdp:Device pub:Computer", xaddr + "  http://[fe80::1]/x") +
                  "</wsd:ResolveMatches>"),
         true,
         WsdAction::ResolveMatches,
         {"urn:uuid:r"},
         {xaddr, "http://[fe80::1]/x"},
         true},
        {"a printer (no pub:Computer)",
         Envelope("<wsd:ProbeMatches>" + Match("ProbeMatch", "urn:uuid:p", "wsdp:Device", "") + "</wsd:ProbeMatches>"),
         true,
         WsdAction::ProbeMatches,
         {"urn:uuid:p"},
         {},
         false},
        {"pub: bound to another namespace",
         Envelope("<wsd:ProbeMatches>" + Match("ProbeMatch", "urn:uuid:q", "wsdp:Device pub:Computer", "") +
                      "</wsd:ProbeMatches>",
                  "urn:uuid:ours",
                  "xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
                  "xmlns:wsa=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\" "
                  "xmlns:wsd=\"http://schemas.xmlsoap.org/ws/2005/04/discovery\" xmlns:pub=\"urn:other\""),
         true,
         WsdAction::ProbeMatches,
         {"urn:uuid:q"},
         {},
         false},
        {"a Hello",
         Envelope(Match("Hello", "urn:uuid:h", "wsdp:Device pub:Computer", xaddr)),
         true,
         WsdAction::Hello,
         {"urn:uuid:h"},
         {xaddr},
         true},
        {"a match without an endpoint is left out",
         Envelope("<wsd:ProbeMatches><wsd:ProbeMatch><wsd:Types>pub:Computer</wsd:Types></wsd:ProbeMatch>"
                  "</wsd:ProbeMatches>"),
         true,
         WsdAction::ProbeMatches,
         {},
         {},
         false},
        {"an endpoint with blanks inside is no endpoint",
         Envelope("<wsd:ProbeMatches>" + Match("ProbeMatch", "urn:uuid:a b", "pub:Computer", "") +
                  "</wsd:ProbeMatches>"),
         true,
         WsdAction::ProbeMatches,
         {},
         {},
         false},
        {"no SOAP envelope", "<Envelope><Body/></Envelope>", false, WsdAction::Other, {}, {}, false},
        {"not well-formed",
         kWsddProbeMatch.substr(0, kWsddProbeMatch.size() - 10),
         false,
         WsdAction::Other,
         {},
         {},
         false},
        {"entities declared in a DTD", kEntityBomb, false, WsdAction::Other, {}, {}, false},
        {"an undeclared entity",
         Envelope("<wsd:ProbeMatches>" + Match("ProbeMatch", "&x;", "pub:Computer", "") + "</wsd:ProbeMatches>"),
         false,
         WsdAction::Other,
         {},
         {},
         false},
        {"longer than a datagram may be",
         Envelope("<wsd:ProbeMatches>" + Match("ProbeMatch", "urn:uuid:l", "pub:Computer", "") + "</wsd:ProbeMatches>" +
                  std::string(kMaxDatagramBytes, ' ')),
         false,
         WsdAction::Other,
         {},
         {},
         false},
        {"nested deeper than the cap",
         Envelope(Repeated("<wsd:x>", 40) + Repeated("</wsd:x>", 40)),
         false,
         WsdAction::Other,
         {},
         {},
         false},
        {"one element's text over the cap",
         Envelope("<wsd:ProbeMatches>" + Match("ProbeMatch", "urn:uuid:t", std::string(5000, 'x'), "") +
                  "</wsd:ProbeMatches>"),
         false,
         WsdAction::Other,
         {},
         {},
         false},
    };
    for (const DatagramCase& c : cases) {
        WsdDatagram datagram;
        EXPECT_EQ(ParseDatagram(c.datagram, datagram), c.parses) << c.what;
        if (!c.parses)
            continue;
        EXPECT_EQ(datagram.action, c.action) << c.what;
        EXPECT_EQ(datagram.relatesTo, "urn:uuid:ours") << c.what;
        std::vector<std::string> endpoints;
        for (const WsdMatch& match : datagram.matches)
            endpoints.push_back(match.endpoint);
        EXPECT_EQ(endpoints, c.endpoints) << c.what;
        if (datagram.matches.empty())
            continue;
        EXPECT_EQ(datagram.matches[0].xaddrs, c.firstXAddrs) << c.what;
        EXPECT_EQ(datagram.matches[0].computer, c.firstIsComputer) << c.what;
    }
}

TEST(WsdDatagramTest, MatchesAndXAddrsAreCountedOutAtTheirCaps) {
    std::string urls;
    for (int i = 0; i < 20; ++i)
        urls += " http://169.254.10.2/" + std::to_string(i);
    std::string matches;
    for (int i = 0; i < 40; ++i)
        matches += Match("ProbeMatch", "urn:uuid:" + std::to_string(i), "pub:Computer", urls);
    WsdDatagram datagram;
    ASSERT_TRUE(ParseDatagram(Envelope("<wsd:ProbeMatches>" + matches + "</wsd:ProbeMatches>"), datagram));
    ASSERT_EQ(datagram.matches.size(), kMaxMatchesPerDatagram);
    EXPECT_EQ(datagram.matches.back().endpoint, "urn:uuid:15");
    EXPECT_EQ(datagram.matches.back().xaddrs.size(), kMaxXAddrsPerMatch);
}

std::string Metadata(const std::string& computer) {
    return Envelope(
        "<wsx:Metadata xmlns:wsx=\"http://schemas.xmlsoap.org/ws/2004/09/mex\"><wsx:MetadataSection>"
        "<wsdp:Relationship><wsdp:Host><wsdp:Types>pub:Computer</wsdp:Types>" +
        computer + "</wsdp:Host></wsdp:Relationship></wsx:MetadataSection></wsx:Metadata>");
}

struct MetadataCase {
    const char* what;
    std::string document;
    bool named;
    ComputerIdentity expected;
};

TEST(WsdMetadataTest, TheComputerIsNamedFromPubComputerAndNothingElse) {
    const MetadataCase cases[] = {
        {"wsdd's workgroup member",
         Metadata("<pub:Computer>HOST2/Workgroup:LABWG</pub:Computer>"),
         true,
         {"HOST2", "LABWG", false}},
        {"a domain member, in lower case",
         Metadata("<pub:Computer> pc-7/Domain:corp.example </pub:Computer>"),
         true,
         {"PC-7", "CORP.EXAMPLE", true}},
        {"the first of two counts",
         Metadata("<pub:Computer>ONE/Workgroup:A</pub:Computer><pub:Computer>TWO/Workgroup:B</pub:Computer>"),
         true,
         {"ONE", "A", false}},
        {"no pub:Computer", Metadata("<wsdp:FriendlyName>x</wsdp:FriendlyName>"), false, {}},
        {"Computer in another namespace", Metadata("<wsdp:Computer>HOST/Workgroup:WG</wsdp:Computer>"), false, {}},
        {"neither workgroup nor domain", Metadata("<pub:Computer>HOST/NotJoined</pub:Computer>"), false, {}},
        {"an unknown kind", Metadata("<pub:Computer>HOST/Forest:WG</pub:Computer>"), false, {}},
        {"no name", Metadata("<pub:Computer>/Workgroup:WG</pub:Computer>"), false, {}},
        {"a name a path could be made of", Metadata("<pub:Computer>..\\X/Workgroup:WG</pub:Computer>"), false, {}},
        {"a control character", Metadata("<pub:Computer>A&#9;B/Workgroup:WG</pub:Computer>"), false, {}},
        {"a name over 63 characters",
         Metadata("<pub:Computer>" + std::string(64, 'N') + "/Workgroup:WG</pub:Computer>"),
         false,
         {}},
        {"entities declared in a DTD",
         "<!DOCTYPE x [<!ENTITY e \"HOST/Workgroup:WG\">]>" + Metadata("<pub:Computer>&e;</pub:Computer>").substr(38),
         false,
         {}},
        {"a document over the cap",
         Metadata("<pub:Computer>HOST/Workgroup:WG</pub:Computer>" + std::string(kMaxMetadataBytes, ' ')),
         false,
         {}},
    };
    for (const MetadataCase& c : cases) {
        ComputerIdentity computer;
        EXPECT_EQ(ParseMetadata(c.document, computer), c.named) << c.what;
        if (!c.named)
            continue;
        EXPECT_EQ(computer.name, c.expected.name) << c.what;
        EXPECT_EQ(computer.group, c.expected.group) << c.what;
        EXPECT_EQ(computer.domain, c.expected.domain) << c.what;
    }
}

TEST(WsdMessagesTest, AnEndpointFromTheNetworkIsEscapedInWhatWeSend) {
    const std::string hostile = "urn:x</wsa:Address><evil/>&amp;";
    for (const std::string& message : {ResolveMessage(NewMessageId(), hostile), GetMessage(NewMessageId(), hostile)}) {
        QXmlStreamReader reader(QByteArray::fromStdString(message));
        int evil = 0;
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == QLatin1String("evil"))
                ++evil;
        }
        EXPECT_FALSE(reader.hasError()) << message;
        EXPECT_EQ(evil, 0) << message;
    }
    EXPECT_NE(NewMessageId(), NewMessageId());
}

struct TargetCase {
    const char* url;
    bool followed;
    std::uint16_t port;
    const char* path;
};

void ExpectTargets(const PeerAddress& source, const std::vector<TargetCase>& cases) {
    for (const TargetCase& c : cases) {
        MetadataTarget target;
        EXPECT_EQ(MetadataTargetAt(c.url, source, target), c.followed) << c.url;
        if (!c.followed)
            continue;
        EXPECT_EQ(target.port, c.port) << c.url;
        EXPECT_EQ(target.path, c.path) << c.url;
    }
}

TEST(MetadataTargetTest, OnlyPlainHttpAtTheAnsweringAddressIsFollowed) {
    const IPv4 source = 0xA9FE0A02;  // 169.254.10.2
    const std::vector<TargetCase> cases = {
        {"http://169.254.10.2:5357/e5e61fb5-d685", true, 5357, "/e5e61fb5-d685"},
        {"http://169.254.10.2", true, 80, "/"},
        {"http://169.254.10.2:80/a?b", true, 80, "/a?b"},
        {"http://169.254.10.3:5357/x", false, 0, ""},
        {"http://169.254.10.2.evil.example:5357/x", false, 0, ""},
        {"http://evil@169.254.10.2:5357/x", false, 0, ""},
        {"https://169.254.10.2:5357/x", false, 0, ""},
        {"file:///etc/passwd", false, 0, ""},
        {"http://169.254.10.2:0/x", false, 0, ""},
        {"http://169.254.10.2:65536/x", false, 0, ""},
        {"http://169.254.10.2:/x", false, 0, ""},
        {"http://169.254.10.2:53a/x", false, 0, ""},
    };
    ExpectTargets(PeerAddress::Of(source), cases);
}

TEST(MetadataTargetTest, AnIPv6SourceIsFollowedOnlyToItsOwnLiteral) {
    const PeerAddress source = test::LinkLocal("fe80::1");
    const std::vector<TargetCase> cases = {
        {"http://[fe80::1%25e1]:5357/e5e61fb5", true, 5357, "/e5e61fb5"},
        {"http://[fe80::1%e1]:5357/e5e61fb5", true, 5357, "/e5e61fb5"},
        {"http://[fe80::0:1]/x", true, 80, "/x"},
        {"http://[fe80::1]", true, 80, "/"},
        {"http://[fe80::2]:5357/x", false, 0, ""},
        {"http://fe80::1:5357/x", false, 0, ""},
        {"http://[fe80::1:5357/x", false, 0, ""},
        {"http://[fe80::1]x:5357/x", false, 0, ""},
        {"http://[fe80::1]:99999/x", false, 0, ""},
        {"http://169.254.10.2:5357/x", false, 0, ""},
    };
    ExpectTargets(source, cases);
}

}  // namespace
}  // namespace vn::wsd

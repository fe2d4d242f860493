#include "platform/wsd/WsdMessages.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUuid>

#include "platform/wsd/CappedXml.h"

namespace vn::wsd {
namespace {

const QString kSoap = QStringLiteral("http://www.w3.org/2003/05/soap-envelope");
const QString kAddressing = QStringLiteral("http://schemas.xmlsoap.org/ws/2004/08/addressing");
const QString kDiscovery = QStringLiteral("http://schemas.xmlsoap.org/ws/2005/04/discovery");
const QString kPub = QStringLiteral("http://schemas.microsoft.com/windows/pub/2005/07");

constexpr qsizetype kMaxEndpointChars = 256;
constexpr qsizetype kMaxNameChars = 63;
constexpr qsizetype kMaxGroupChars = 255;

constexpr const char* kEnvelopeStart =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
    "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
    "xmlns:wsa=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\" "
    "xmlns:wsd=\"http://schemas.xmlsoap.org/ws/2005/04/discovery\" "
    "xmlns:wsdp=\"http://schemas.xmlsoap.org/ws/2006/02/devprof\">";
constexpr const char* kDiscoveryTarget = "urn:schemas-xmlsoap-org:ws:2005:04:discovery";
constexpr const char* kAnonymous = "http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous";

std::string Escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped().toStdString(); }

std::string Envelope(const std::string& to, const std::string& action, const std::string& messageId,
                     const std::string& extraHeader, const std::string& body) {
    return std::string(kEnvelopeStart) + "<soap:Header><wsa:To>" + Escaped(to) + "</wsa:To><wsa:Action>" + action +
           "</wsa:Action><wsa:MessageID>" + Escaped(messageId) + "</wsa:MessageID>" + extraHeader +
           "</soap:Header><soap:Body>" + body + "</soap:Body></soap:Envelope>";
}

WsdAction ActionOf(const XmlName& element) {
    if (element.ns != kDiscovery)
        return WsdAction::Other;
    if (element.name == QLatin1String("ProbeMatches"))
        return WsdAction::ProbeMatches;
    if (element.name == QLatin1String("ResolveMatches"))
        return WsdAction::ResolveMatches;
    if (element.name == QLatin1String("Hello"))
        return WsdAction::Hello;
    if (element.name == QLatin1String("Bye"))
        return WsdAction::Bye;
    return WsdAction::Other;
}

// An element that describes one endpoint: a match, or the body of Hello/Bye.
bool IsMatchElement(const std::vector<XmlName>& path) {
    if (path.size() == 3 && path[1].Is(kSoap, "Body"))
        return ActionOf(path[2]) == WsdAction::Hello || ActionOf(path[2]) == WsdAction::Bye;
    return path.size() == 4 && path[1].Is(kSoap, "Body") &&
           (path[3].Is(kDiscovery, "ProbeMatch") || path[3].Is(kDiscovery, "ResolveMatch"));
}

// Printable text without blanks inside, as endpoint addresses and URLs are.
bool IsToken(const QString& text, qsizetype maxChars) {
    if (text.isEmpty() || text.size() > maxChars)
        return false;
    for (const QChar c : text) {
        if (c.unicode() <= 0x20 || c.unicode() == 0x7F)
            return false;
    }
    return true;
}

// What Windows lets a computer, workgroup or domain name hold.
bool IsNameText(const QString& text, qsizetype maxChars) {
    static const QRegularExpression allowed(QStringLiteral("^[A-Za-z0-9!#$%&'()\\-.@^_{}~]+$"));
    return !text.isEmpty() && text.size() <= maxChars && allowed.match(text).hasMatch();
}

}  // namespace

bool ParseDatagram(std::string_view datagram, WsdDatagram& result) {
    result = WsdDatagram{};
    CappedXml xml;
    bool envelope = false;
    bool inMatch = false;
    WsdMatch match;
    const auto onStart = [&](const std::vector<XmlName>& path) {
        if (path.size() == 1)
            envelope = path[0].Is(kSoap, "Envelope");
        if (!envelope)
            return false;
        if (path.size() == 3 && path[1].Is(kSoap, "Body"))
            result.action = ActionOf(path[2]);
        if (IsMatchElement(path)) {
            inMatch = true;
            match = WsdMatch{};
        }
        return true;
    };
    const auto onEnd = [&](const std::vector<XmlName>& path, const QString& text) {
        const XmlName& element = path.back();
        if (path.size() == 3 && path[1].Is(kSoap, "Header") && element.Is(kAddressing, "RelatesTo") &&
            IsToken(text.trimmed(), kMaxEndpointChars))
            result.relatesTo = text.trimmed().toStdString();
        if (!inMatch)
            return true;
        if (IsMatchElement(path)) {
            inMatch = false;
            if (!match.endpoint.empty() && result.matches.size() < kMaxMatchesPerDatagram)
                result.matches.push_back(std::move(match));
        } else if (element.Is(kAddressing, "Address") && path[path.size() - 2].Is(kAddressing, "EndpointReference")) {
            if (IsToken(text.trimmed(), kMaxEndpointChars))
                match.endpoint = text.trimmed().toStdString();
        } else if (element.Is(kDiscovery, "XAddrs")) {
            for (const QString& url : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
                if (match.xaddrs.size() < kMaxXAddrsPerMatch && IsToken(url, kMaxEndpointChars))
                    match.xaddrs.push_back(url.toStdString());
            }
        } else if (element.Is(kDiscovery, "Types")) {
            match.typed = true;
            for (const QString& type : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
                const qsizetype colon = type.indexOf(QLatin1Char(':'));
                if (colon > 0 && type.mid(colon + 1) == QLatin1String("Computer") &&
                    xml.Resolve(type.left(colon)) == kPub)
                    match.computer = true;
            }
        }
        return true;
    };
    return xml.Read(datagram, kMaxDatagramBytes, onStart, onEnd) && envelope;
}

bool ParseComputerText(std::string_view text, ComputerIdentity& result) {
    const QString whole = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
    const qsizetype slash = whole.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return false;
    const QString name = whole.left(slash);
    const QString membership = whole.mid(slash + 1);
    const qsizetype colon = membership.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    const QString kind = membership.left(colon);
    const QString group = membership.mid(colon + 1);
    const bool domain = kind.compare(QLatin1String("Domain"), Qt::CaseInsensitive) == 0;
    if (!domain && kind.compare(QLatin1String("Workgroup"), Qt::CaseInsensitive) != 0)
        return false;
    if (!IsNameText(name, kMaxNameChars) || !IsNameText(group, kMaxGroupChars))
        return false;
    result.name = name.toUpper().toStdString();
    result.group = group.toUpper().toStdString();
    result.domain = domain;
    return true;
}

bool ParseMetadata(std::string_view document, ComputerIdentity& result) {
    result = ComputerIdentity{};
    CappedXml xml;
    bool found = false;
    const auto onStart = [](const std::vector<XmlName>& path) {
        return path.size() != 1 || path[0].Is(kSoap, "Envelope");
    };
    const auto onEnd = [&](const std::vector<XmlName>& path, const QString& text) {
        if (!path.back().Is(kPub, "Computer"))
            return true;
        const QByteArray utf8 = text.toUtf8();
        found = ParseComputerText(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), result);
        return false;  // the first one counts
    };
    return xml.Read(document, kMaxMetadataBytes, onStart, onEnd) && found;
}

std::string ProbeMessage(const std::string& messageId) {
    return Envelope(kDiscoveryTarget, "http://schemas.xmlsoap.org/ws/2005/04/discovery/Probe", messageId, "",
                    "<wsd:Probe><wsd:Types>wsdp:Device</wsd:Types></wsd:Probe>");
}

std::string ResolveMessage(const std::string& messageId, const std::string& endpoint) {
    return Envelope(kDiscoveryTarget, "http://schemas.xmlsoap.org/ws/2005/04/discovery/Resolve", messageId, "",
                    "<wsd:Resolve><wsa:EndpointReference><wsa:Address>" + Escaped(endpoint) +
                        "</wsa:Address></wsa:EndpointReference></wsd:Resolve>");
}

std::string GetMessage(const std::string& messageId, const std::string& endpoint) {
    return Envelope(endpoint, "http://schemas.xmlsoap.org/ws/2004/09/transfer/Get", messageId,
                    std::string("<wsa:ReplyTo><wsa:Address>") + kAnonymous + "</wsa:Address></wsa:ReplyTo>", "");
}

std::string NewMessageId() { return "urn:uuid:" + QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString(); }

}  // namespace vn::wsd

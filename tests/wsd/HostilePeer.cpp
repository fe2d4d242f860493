// A WS-Discovery answerer that tries what a hostile computer on the network
// could: to every Probe it sends an oversized datagram, one that declares
// entities, and thousands of made-up endpoints whose metadata never ends, is
// an entity bomb, is huge, or lies at another computer's address. Run in a
// namespace of its own: hostile_peer OWN-ADDRESS VICTIM-ADDRESS.
// With "bye ENDPOINT" after them it answers no Probe; a while after each one
// (when the other computers have answered) it announces two endpoints of its
// own with Hellos, then sends Byes for one of them and for ENDPOINT, another
// computer's.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

constexpr int kFakeDatagrams = 250;
constexpr int kMatchesPerDatagram = 16;

const std::string kNamespaces =
    "xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" "
    "xmlns:wsa=\"http://schemas.xmlsoap.org/ws/2004/08/addressing\" "
    "xmlns:wsd=\"http://schemas.xmlsoap.org/ws/2005/04/discovery\" "
    "xmlns:pub=\"http://schemas.microsoft.com/windows/pub/2005/07\"";

std::string Between(const std::string& text, const std::string& open, const std::string& close) {
    const std::size_t start = text.find(open);
    if (start == std::string::npos)
        return {};
    const std::size_t end = text.find(close, start + open.size());
    return end == std::string::npos ? std::string() : text.substr(start + open.size(), end - start - open.size());
}

std::string Matches(const std::string& relatesTo, const std::string& matches, const std::string& prolog = {}) {
    return prolog + "<soap:Envelope " + kNamespaces + "><soap:Header><wsa:RelatesTo>" + relatesTo +
           "</wsa:RelatesTo></soap:Header><soap:Body><wsd:ProbeMatches>" + matches +
           "</wsd:ProbeMatches></soap:Body></soap:Envelope>";
}

std::string Match(const std::string& endpoint, const std::string& xaddr, const std::string& element = "ProbeMatch") {
    return "<wsd:" + element + "><wsa:EndpointReference><wsa:Address>" + endpoint +
           "</wsa:Address></wsa:EndpointReference><wsd:Types>pub:Computer</wsd:Types><wsd:XAddrs>" + xaddr +
           "</wsd:XAddrs></wsd:" + element + ">";
}

void Answer(int udp, const sockaddr_in& to, const std::string& relatesTo, const std::string& own,
            const std::string& victim) {
    auto send = [&](const std::string& datagram) {
        (void)sendto(udp, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to);
    };
    send(Matches(relatesTo, Match("urn:hostile:oversized", "http://" + own + ":5357/own") + std::string(60000, ' ')));
    send(Matches(relatesTo, Match("&b;", "http://" + own + ":5357/own"),
                 "<!DOCTYPE soap:Envelope [<!ENTITY a \"aaaaaaaaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;\">]>"));
    const std::string paths[] = {"http://" + own + ":5357/endless", "http://" + own + ":5357/bomb",
                                 "http://" + own + ":5357/huge", "http://" + victim + ":5357/hijack"};
    for (int d = 0; d < kFakeDatagrams; ++d) {
        std::string matches;
        for (int m = 0; m < kMatchesPerDatagram; ++m) {
            const int n = d * kMatchesPerDatagram + m;
            matches += Match("urn:hostile:" + std::to_string(n), n < 4 ? paths[n] : "http://" + own + ":5357/own");
        }
        send(Matches(relatesTo, matches));
    }
}

std::string Announcement(const std::string& action, const std::string& endpoint, const std::string& own) {
    const std::string body = action == "Hello" ? Match(endpoint, "http://" + own + ":5357/own", "Hello")
                                               : "<wsd:Bye><wsa:EndpointReference><wsa:Address>" + endpoint +
                                                     "</wsa:Address></wsa:EndpointReference></wsd:Bye>";
    return "<soap:Envelope " + kNamespaces +
           "><soap:Header><wsa:Action>http://schemas.xmlsoap.org/ws/2005/04/discovery/" + action +
           "</wsa:Action></soap:Header><soap:Body>" + body + "</soap:Body></soap:Envelope>";
}

void AnnounceAndLeave(int udp, const std::string& own, const std::string& victimEndpoint) {
    sockaddr_in group{};
    group.sin_family = AF_INET;
    group.sin_port = htons(3702);
    inet_pton(AF_INET, "239.255.255.250", &group.sin_addr);
    auto send = [&](const std::string& datagram) {
        (void)sendto(udp, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&group), sizeof group);
    };
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    send(Announcement("Hello", "urn:hostile:hello", own));
    send(Announcement("Hello", "urn:hostile:bye", own));
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    send(Announcement("Bye", "urn:hostile:bye", own));
    send(Announcement("Bye", victimEndpoint, own));
}

void Serve(int client) {
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t got = read(client, buffer, sizeof buffer);
        if (got <= 0)
            break;
        request.append(buffer, static_cast<std::size_t>(got));
    }
    const std::string path = Between(request, "POST ", " HTTP");
    auto write = [&](const std::string& text) {
        return ::send(client, text.data(), text.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(text.size());
    };
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: application/soap+xml\r\n";
    const std::string envelope = "<soap:Envelope " + kNamespaces + "><soap:Body>";
    if (path == "/endless") {
        // Metadata that trickles in for ever, a byte at a time.
        if (write(head + "\r\n" + envelope))
            while (write("<"))
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } else if (path == "/huge") {
        if (write(head + "Content-Length: 104857600\r\n\r\n" + envelope))
            for (int i = 0; i < 25600 && write(std::string(4096, ' ')); ++i) {
            }
    } else {
        const std::string bomb =
            "<!DOCTYPE soap:Envelope [<!ENTITY a \"EVIL/Workgroup:LABWG\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
            "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>";
        const std::string body = (path == "/bomb" ? bomb : std::string()) + envelope + "<pub:Computer>" +
                                 (path == "/bomb" ? "&c;" : "EVIL/Workgroup:LABWG") +
                                 "</pub:Computer></soap:Body></soap:Envelope>";
        write(head + "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body);
    }
    close(client);
}

}  // namespace

int main(int argc, char** argv) {
    const bool bye = argc == 5 && std::string(argv[3]) == "bye";
    if (argc != 3 && !bye) {
        std::fprintf(stderr, "usage: hostile_peer OWN-ADDRESS VICTIM-ADDRESS [bye ENDPOINT]\n");
        return 2;
    }
    const std::string own = argv[1], victim = argv[2];
    const std::string victimEndpoint = bye ? argv[4] : "";
    const int udp = socket(AF_INET, SOCK_DGRAM, 0);
    const int one = 1;
    setsockopt(udp, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    any.sin_port = htons(3702);
    if (bind(udp, reinterpret_cast<const sockaddr*>(&any), sizeof any) != 0) {
        std::perror("hostile_peer: binding port 3702");
        return 1;
    }
    ip_mreq group{};
    inet_pton(AF_INET, "239.255.255.250", &group.imr_multiaddr);
    inet_pton(AF_INET, own.c_str(), &group.imr_interface);
    if (setsockopt(udp, IPPROTO_IP, IP_ADD_MEMBERSHIP, &group, sizeof group) != 0) {
        std::perror("hostile_peer: joining the group");
        return 1;
    }

    const int tcp = socket(AF_INET, SOCK_STREAM, 0);
    setsockopt(tcp, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in http{};
    http.sin_family = AF_INET;
    http.sin_port = htons(5357);
    inet_pton(AF_INET, own.c_str(), &http.sin_addr);
    if (bind(tcp, reinterpret_cast<const sockaddr*>(&http), sizeof http) != 0 || listen(tcp, 64) != 0) {
        std::perror("hostile_peer: listening");
        return 1;
    }
    std::thread([tcp] {
        for (;;) {
            const int client = accept(tcp, nullptr, nullptr);
            if (client >= 0)
                std::thread(Serve, client).detach();
        }
    }).detach();

    char buffer[65536];
    for (;;) {
        sockaddr_in from{};
        socklen_t length = sizeof from;
        const ssize_t got = recvfrom(udp, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
        if (got <= 0)
            continue;
        const std::string message(buffer, static_cast<std::size_t>(got));
        if (message.find("discovery/Probe<") == std::string::npos)
            continue;
        if (bye)
            std::thread(AnnounceAndLeave, udp, own, victimEndpoint).detach();
        else
            Answer(udp, from, Between(message, "<wsa:MessageID>", "</wsa:MessageID>"), own, victim);
    }
}

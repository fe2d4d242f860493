// Which server certificates the HTTPS client accepts, against real TLS servers.
#include <gtest/gtest.h>

#include <functional>

#include "platform/https/TlsLab.h"
#include "update/LastError.h"
#include "update/WebRequest.h"

namespace vn::test {
namespace {

constexpr long kHour = 3600;

struct ServerCase {
    const char* name;
    // The server's certificate and the chain it sends after it.
    std::function<Identity(const TlsLab&, std::vector<Identity>& chain)> make;
};

class CertificateAcceptanceTest : public ::testing::Test {
protected:
    // Starts a server for the case and sends one GET through WebRequest.
    struct Outcome {
        Status firstSend;
        Status retrySend;
        bool webRequestAnswered;
        Status lastError;
        int connections;
    };

    Outcome Run(const ServerCase& c) {
        std::vector<Identity> chain;
        const Identity identity = c.make(lab_, chain);
        std::vector<X509*> chainCertificates;
        chainCertificates.reserve(chain.size());
        for (const auto& extra : chain)
            chainCertificates.push_back(extra.certificate.get());
        TestHttpsServer server(&identity, chainCertificates);
        server.SetReply({200, "version:2.01.12", {}, TestHttpsServer::Behaviour::Answer});
        CurlHttpsClient client(lab_.ClientOptions());

        Outcome outcome{};
        HttpsRequest request;
        request.host = "127.0.0.1";
        request.port = server.Port();
        request.path = "/v";
        HttpsResponse response;
        outcome.firstSend = client.Send(request, response);
        request.ignoreUnknownCa = true;
        outcome.retrySend = client.Send(request, response);

        const int before = server.Connections();
        auto text = WebRequest(client, "https://" + server.HostAndPort() + "/v", nullptr, nullptr, 0);
        outcome.webRequestAnswered = text != nullptr && std::string(text.get()) == "version:2.01.12";
        outcome.lastError = GetLastError();
        outcome.connections = server.Connections() - before;
        return outcome;
    }

    TlsLab lab_;
};

CertificateProfile Named(const char* commonName, const char* altName) {
    CertificateProfile profile;
    profile.commonName = commonName;
    profile.subjectAltName = altName;
    return profile;
}

CertificateProfile Valid(long fromSeconds, long untilSeconds) {
    CertificateProfile profile;
    profile.validFromSeconds = fromSeconds;
    profile.validUntilSeconds = untilSeconds;
    return profile;
}

TEST_F(CertificateAcceptanceTest, AcceptedAtOnce) {
    const ServerCase cases[] = {
        {"trusted chain", [](const TlsLab& lab, auto&) { return lab.Trusted(); }},
        {"wrong host name",
         [](const TlsLab& lab, auto&) { return lab.Trusted(Named("wrong.example", "DNS:wrong.example")); }},
        {"expired", [](const TlsLab& lab, auto&) { return lab.Trusted(Valid(-48 * kHour, -24 * kHour)); }},
        {"not yet valid", [](const TlsLab& lab, auto&) { return lab.Trusted(Valid(24 * kHour, 48 * kHour)); }},
        {"expired with wrong name",
         [](const TlsLab& lab, auto&) {
             CertificateProfile profile = Valid(-48 * kHour, -24 * kHour);
             profile.commonName = "other.example";
             profile.subjectAltName = "DNS:other.example";
             return lab.Trusted(profile);
         }},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Run(c);
        EXPECT_EQ(outcome.firstSend, ERROR_SUCCESS) << c.name;
        EXPECT_TRUE(outcome.webRequestAnswered) << c.name;
        EXPECT_EQ(outcome.lastError, ERROR_SUCCESS) << c.name;
        EXPECT_EQ(outcome.connections, 1) << c.name;
    }
}

TEST_F(CertificateAcceptanceTest, UnknownAuthorityAcceptedOnTheRetry) {
    const ServerCase cases[] = {
        {"issued by an unknown authority",
         [](const TlsLab&, auto&) {
             const Identity stranger = TestCertificates::MakeAuthority("Stranger Root");
             return TestCertificates::MakeIssued({}, stranger);
         }},
        {"unknown root sent in the chain",
         [](const TlsLab&, auto& chain) {
             chain.push_back(TestCertificates::MakeAuthority("Stranger Root"));
             return TestCertificates::MakeIssued({}, chain.back());
         }},
        {"self-signed", [](const TlsLab&, auto&) { return TestCertificates::MakeSelfSigned({}); }},
        {"self-signed and expired",
         [](const TlsLab&, auto&) { return TestCertificates::MakeSelfSigned(Valid(-48 * kHour, -kHour)); }},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Run(c);
        EXPECT_EQ(outcome.firstSend, ERROR_INTERNET_INVALID_CA) << c.name;
        EXPECT_EQ(outcome.retrySend, ERROR_SUCCESS) << c.name;
        EXPECT_TRUE(outcome.webRequestAnswered) << c.name;
        EXPECT_EQ(outcome.lastError, ERROR_SUCCESS) << c.name;
        EXPECT_EQ(outcome.connections, 2) << c.name;  // the refused send and the retry
    }
}

TEST_F(CertificateAcceptanceTest, OtherCertificateFaultsAreRefusedEvenOnRetry) {
    const ServerCase cases[] = {
        {"signature that does not match the issuer",
         [](const TlsLab& lab, auto&) {
             const Identity forger = TestCertificates::MakeAuthority("Forger");
             return TestCertificates::MakeIssued({}, lab.Authority(), forger.key.get());
         }},
        {"issued by a certificate that is no authority",
         [](const TlsLab& lab, auto& chain) {
             chain.push_back(lab.Trusted(Named("leaf acting as CA", "")));
             return TestCertificates::MakeIssued({}, chain.back());
         }},
    };
    for (const auto& c : cases) {
        const Outcome outcome = Run(c);
        EXPECT_EQ(outcome.firstSend, ERROR_INTERNET_SEC_CERT_ERRORS) << c.name;
        EXPECT_EQ(outcome.retrySend, ERROR_INTERNET_SEC_CERT_ERRORS) << c.name;
        EXPECT_FALSE(outcome.webRequestAnswered) << c.name;
        EXPECT_EQ(outcome.lastError, ERROR_INTERNET_SEC_CERT_ERRORS) << c.name;
        EXPECT_EQ(outcome.connections, 1) << c.name;
    }
}

}  // namespace
}  // namespace vn::test

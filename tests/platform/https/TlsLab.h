#pragma once

#include <memory>
#include <string>

#include "platform/https/TestCertificates.h"
#include "platform/https/TestHttpsServer.h"
#include "platform/local/https/CurlHttpsClient.h"

namespace vn::test {

// A certificate authority the client trusts (written to a CA file in a
// temporary folder) and the server identities the tests need.
class TlsLab {
public:
    TlsLab();
    ~TlsLab();
    TlsLab(const TlsLab&) = delete;
    TlsLab& operator=(const TlsLab&) = delete;

    // A client that trusts only this lab's authority, with time-outs short
    // enough for tests.
    CurlHttpsClient::Options ClientOptions() const;

    Identity Trusted(const CertificateProfile& profile = {}) const;
    const Identity& Authority() const { return authority_; }

private:
    Identity authority_;
    std::string folder_;
    std::string caFile_;
};

}  // namespace vn::test

#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>

namespace vn::test {

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
struct CertificateFree {
    void operator()(X509* certificate) const { X509_free(certificate); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, KeyFree>;
using CertificatePtr = std::unique_ptr<X509, CertificateFree>;

// A key with its certificate.
struct Identity {
    KeyPtr key;
    CertificatePtr certificate;
};

struct CertificateProfile {
    std::string commonName = "127.0.0.1";
    std::string subjectAltName = "IP:127.0.0.1";  // empty: none
    long validFromSeconds = -3600;                // relative to now
    long validUntilSeconds = 24L * 3600;
    bool isAuthority = false;
};

// Certificates made on the spot, so that no test depends on files that age.
class TestCertificates {
public:
    static Identity MakeAuthority(const std::string& name);
    static Identity MakeSelfSigned(const CertificateProfile& profile);
    // Issued by issuer; signingKey, when given, signs in the issuer's place
    // (a certificate whose signature does not match its issuer).
    static Identity MakeIssued(const CertificateProfile& profile, const Identity& issuer,
                               EVP_PKEY* signingKey = nullptr);

    // Writes the certificate as PEM; throws on failure.
    static void WritePem(X509* certificate, const std::string& path);
};

}  // namespace vn::test

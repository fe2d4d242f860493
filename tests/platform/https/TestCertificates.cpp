#include "platform/https/TestCertificates.h"

#include <openssl/pem.h>
#include <openssl/x509v3.h>

#include <atomic>
#include <cstdio>
#include <stdexcept>

namespace vn::test {
namespace {

void Check(bool ok, const char* what) {
    if (!ok)
        throw std::runtime_error(std::string("test certificate: ") + what);
}

KeyPtr MakeKey() {
    KeyPtr key(EVP_EC_gen("P-256"));
    Check(key != nullptr, "key generation");
    return key;
}

void AddExtension(X509* certificate, X509* issuer, int nid, const std::string& value) {
    X509V3_CTX context;
    X509V3_set_ctx_nodb(&context);
    X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
    Check(extension != nullptr, "extension");
    const bool added = X509_add_ext(certificate, extension, -1) == 1;
    X509_EXTENSION_free(extension);
    Check(added, "adding extension");
}

CertificatePtr MakeCertificate(const CertificateProfile& profile, EVP_PKEY* subjectKey, X509* issuer,
                               EVP_PKEY* signingKey) {
    static std::atomic<long> serial{1};
    CertificatePtr certificate(X509_new());
    Check(certificate != nullptr, "allocation");
    X509* cert = certificate.get();
    Check(X509_set_version(cert, 2) == 1, "version");
    ASN1_INTEGER_set(X509_get_serialNumber(cert), serial++);
    X509_gmtime_adj(X509_getm_notBefore(cert), profile.validFromSeconds);
    X509_gmtime_adj(X509_getm_notAfter(cert), profile.validUntilSeconds);
    X509_NAME_add_entry_by_txt(X509_get_subject_name(cert), "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>(profile.commonName.c_str()), -1, -1, 0);
    X509* signer = issuer ? issuer : cert;
    Check(X509_set_issuer_name(cert, X509_get_subject_name(signer)) == 1, "issuer name");
    Check(X509_set_pubkey(cert, subjectKey) == 1, "public key");
    if (profile.isAuthority) {
        AddExtension(cert, signer, NID_basic_constraints, "critical,CA:TRUE");
        AddExtension(cert, signer, NID_key_usage, "critical,keyCertSign,cRLSign");
    } else {
        AddExtension(cert, signer, NID_basic_constraints, "CA:FALSE");
    }
    if (!profile.subjectAltName.empty())
        AddExtension(cert, signer, NID_subject_alt_name, profile.subjectAltName);
    Check(X509_sign(cert, signingKey, EVP_sha256()) > 0, "signing");
    return certificate;
}

}  // namespace

Identity TestCertificates::MakeAuthority(const std::string& name) {
    CertificateProfile profile;
    profile.commonName = name;
    profile.subjectAltName.clear();
    profile.isAuthority = true;
    return MakeSelfSigned(profile);
}

Identity TestCertificates::MakeSelfSigned(const CertificateProfile& profile) {
    Identity identity{MakeKey(), nullptr};
    identity.certificate = MakeCertificate(profile, identity.key.get(), nullptr, identity.key.get());
    return identity;
}

Identity TestCertificates::MakeIssued(const CertificateProfile& profile, const Identity& issuer, EVP_PKEY* signingKey) {
    Identity identity{MakeKey(), nullptr};
    identity.certificate = MakeCertificate(profile, identity.key.get(), issuer.certificate.get(),
                                           signingKey ? signingKey : issuer.key.get());
    return identity;
}

void TestCertificates::WritePem(X509* certificate, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "w");
    Check(file != nullptr, "opening PEM file");
    const bool written = PEM_write_X509(file, certificate) == 1;
    Check(std::fclose(file) == 0 && written, "writing PEM file");
}

}  // namespace vn::test

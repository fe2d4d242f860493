#include "platform/https/TlsLab.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace vn::test {

TlsLab::TlsLab() : authority_(TestCertificates::MakeAuthority("Netwarden Test Root")) {
    // A proxy configured for this shell must not see loopback test traffic.
    ::setenv("NO_PROXY", "127.0.0.1", 1);
    ::setenv("no_proxy", "127.0.0.1", 1);
    std::string pattern = (std::filesystem::temp_directory_path() / "vn-tls-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("TlsLab: temporary folder");
    folder_ = pattern;
    caFile_ = folder_ + "/ca.pem";
    TestCertificates::WritePem(authority_.certificate.get(), caFile_);
}

TlsLab::~TlsLab() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

CurlHttpsClient::Options TlsLab::ClientOptions() const {
    CurlHttpsClient::Options options;
    options.caFile = caFile_;
    options.connectTimeoutSeconds = 10;
    options.lowSpeedSeconds = 10;
    return options;
}

Identity TlsLab::Trusted(const CertificateProfile& profile) const {
    return TestCertificates::MakeIssued(profile, authority_);
}

}  // namespace vn::test

#include "platform/smb/pool/SmbCredentials.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace vn::smb {

namespace {

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

bool KeyIs(std::string_view key, std::string_view expected) {
    if (key.size() != expected.size())
        return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(key[i])) != expected[i])
            return false;
    }
    return true;
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

void WipeString(std::string& text) {
    if (!text.empty())
        explicit_bzero(text.data(), text.size());
    text.clear();
}

}  // namespace

SmbCredentials::SmbCredentials(const SmbCredentials& other) = default;

SmbCredentials& SmbCredentials::operator=(const SmbCredentials& other) {
    if (this != &other) {
        Wipe();
        user_ = other.user_;
        password_ = other.password_;
        domain_ = other.domain_;
        useKerberos_ = other.useKerberos_;
        noCoreDumps_ = other.noCoreDumps_;
    }
    return *this;
}

SmbCredentials::~SmbCredentials() { Wipe(); }

void SmbCredentials::Wipe() {
    WipeString(password_);
    noCoreDumps_.reset();
}

SmbCredentials SmbCredentials::FromPassword(std::string_view user, std::string_view password, std::string_view domain) {
    SmbCredentials credentials;
    if (!password.empty())
        credentials.noCoreDumps_.emplace();  // before the password is in memory twice
    credentials.user_ = user;
    credentials.password_ = password;
    credentials.domain_ = domain;
    const auto separator = credentials.user_.find_first_of("\\/");
    if (separator != std::string::npos) {
        credentials.domain_ = credentials.user_.substr(0, separator);
        credentials.user_.erase(0, separator + 1);
    }
    return credentials;
}

Status SmbCredentials::FromAuthFile(const std::string& path, SmbCredentials& result) {
    std::ifstream in(path);
    if (!in)
        return ERROR_FILE_NOT_FOUND;
    std::string user, password, domain;
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string key = Trim(std::string_view(line).substr(0, equals));
        const std::string value = Trim(std::string_view(line).substr(equals + 1));
        if (KeyIs(key, "username"))
            user = value;
        else if (KeyIs(key, "password"))
            password = value;
        else if (KeyIs(key, "domain"))
            domain = value;
        WipeString(line);
    }
    if (user.empty()) {
        WipeString(password);
        return ERROR_INVALID_PARAMETER;
    }
    result = FromPassword(user, password, domain);
    WipeString(password);
    return ERROR_SUCCESS;
}

std::string SmbCredentials::DefaultAuthFilePath() {
    if (const char* overridePath = std::getenv("NETWARDEN_AUTH_FILE"); overridePath && *overridePath)
        return overridePath;
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        base = config;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        return {};
    return base + "/vantor-netwarden/credentials";
}

bool SmbCredentials::TicketCacheExists() {
    std::string cache;
    if (const char* name = std::getenv("KRB5CCNAME"); name && *name) {
        cache = name;
        if (cache.rfind("FILE:", 0) == 0)
            cache.erase(0, 5);
        else if (cache.find(':') != std::string::npos)
            return true;  // KEYRING:, KCM:, ...: the library knows how to look
    } else {
        cache = "/tmp/krb5cc_" + std::to_string(getuid());
    }
    return FileExists(cache);
}

SmbCredentials SmbCredentials::FromEnvironment() {
    SmbCredentials credentials;
    const std::string authFile = DefaultAuthFilePath();
    // A default file that cannot be read gives no password: the other
    // computers then refuse the logon and say so.
    if (FileExists(authFile))
        (void)FromAuthFile(authFile, credentials);
    credentials.useKerberos_ = TicketCacheExists();
    return credentials;
}

}  // namespace vn::smb

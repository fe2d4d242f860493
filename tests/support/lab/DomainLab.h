#pragma once

#include <string>
#include <vector>

#include "SambaLab.h"

namespace vn::lab {

// A computer account the lab domain holds.
struct DomainComputer {
    std::string name;         // cn, and sAMAccountName without its "$"
    std::string unit;         // the organisational unit's path below the domain, "OU=Web,OU=Servers"
    bool enabled = true;      // disabled accounts carry userAccountControl 0x2
    std::string dnsHostName;  // empty: the account has none
};

// A Samba Active Directory domain controller on its own loopback address,
// provisioned with its own configuration and state under one directory, its
// DNS answering for the domain, and a few organisational units of computer
// accounts, some disabled.
class DomainLab {
public:
    static constexpr const char* kAddress = "127.0.0.20";
    static constexpr const char* kRealm = "LAB.TEST";
    static constexpr const char* kDnsDomain = "lab.test";
    static constexpr const char* kDomain = "LAB";
    static constexpr const char* kBaseDn = "DC=lab,DC=test";
    static constexpr const char* kControllerHost = "dc1.lab.test";
    static constexpr const char* kControllerName = "DC1";
    // Where the suite's fixture starts the domain, under the build directory;
    // what it is and what it needs, for the reason it cannot run.
    static constexpr const char* kFolder = "domain-lab";
    static constexpr const char* kTitle = "the lab domain";
    static constexpr const char* kSoftware = "the Samba domain controller";

    static LabUser Administrator();
    static std::vector<std::string> Units();  // created parents first
    static std::vector<DomainComputer> Computers();

    // True when the domain controller and the LDAP tools are installed.
    static bool Installed();
    // True when a domain controller answers on kAddress.
    static bool Running();

    // Provisions and starts the domain under root (about half a minute);
    // false with a reason. The daemon's PID is recorded so that Stop ends
    // exactly it.
    static bool Start(const std::string& root, std::string& error);
    static void Stop(const std::string& root);

    // Adds the entries of an LDIF file as the administrator, over LDAPS.
    static bool AddEntries(const std::string& ldifFile, const std::string& logFile, std::string& error);
    // LDIF of enabled computer accounts under unit (created by the text too).
    static std::string ComputersLdif(const std::string& unit, const std::string& prefix, int count);

    // A Samba client configuration under home/.smb that makes this computer
    // a member of the lab domain, on loopback only; names are looked up in
    // the hosts file and DNS (hostNames) or through WINS at the file-server
    // lab's first host.
    static bool WriteClientConfiguration(const std::string& home, bool hostNames);

    // Client files that keep Kerberos and name lookups on loopback: a
    // krb5.conf naming the lab's KDC, a hosts file with the controller's
    // name, a resolv.conf asking only the controller's DNS.
    static bool WriteKerberosConfiguration(const std::string& path);
    static bool WriteHostsFile(const std::string& path);
    static bool WriteResolverConfiguration(const std::string& path);

    // The client set-up of an in-process test program under its HOME: this
    // computer a member of the domain, Kerberos on loopback, and no check of
    // the lab's own TLS certificate by the programs' LDAP.
    static void PrepareTestHome(const std::string& home);

    // kinit as the administrator into cache (FILE:path), with krb5Config.
    static bool GetTicket(const std::string& krb5Config, const std::string& cache, const std::string& logFile);
};

}  // namespace vn::lab

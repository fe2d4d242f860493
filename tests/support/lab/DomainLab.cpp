#include "DomainLab.h"

#include <unistd.h>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "LabProcess.h"

extern char** environ;

namespace vn::lab {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSamba = "/usr/sbin/samba";
constexpr const char* kSambaTool = "/usr/bin/samba-tool";
constexpr const char* kLdapAdd = "/usr/bin/ldapadd";
constexpr const char* kKinit = "/usr/bin/kinit";
constexpr int kWorkstationTrust = 0x1000;
constexpr int kAccountDisabled = 0x2;

bool WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

// The caller's environment without our own preloads (sanitizer runtimes,
// wrappers), plus extra.
LabEnvironment ToolEnvironment(std::vector<std::string> extra = {}) {
    LabEnvironment env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.rfind("LD_PRELOAD=", 0) != 0)
            env.variables.push_back(entry);
    }
    env.variables.insert(env.variables.end(), extra.begin(), extra.end());
    return env;
}

fs::path PidFile(const std::string& root) { return fs::path(root) / "domain.pid"; }

std::string ComputerEntry(const DomainComputer& computer) {
    std::ostringstream e;
    e << "dn: CN=" << computer.name << "," << computer.unit << "," << DomainLab::kBaseDn << "\n"
      << "objectClass: computer\n"
      << "sAMAccountName: " << computer.name << "$\n"
      << "userAccountControl: " << (kWorkstationTrust | (computer.enabled ? 0 : kAccountDisabled)) << "\n";
    if (!computer.dnsHostName.empty())
        e << "dNSHostName: " << computer.dnsHostName << "\n";
    return e.str() + "\n";
}

std::string UnitEntry(const std::string& unit) {
    return "dn: " + unit + "," + DomainLab::kBaseDn + "\nobjectClass: organizationalUnit\n\n";
}

bool WaitForPort(int port) {
    for (int i = 0; i < 1200; ++i) {
        if (TcpPortOpen(DomainLab::kAddress, port))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

}  // namespace

LabUser DomainLab::Administrator() { return {"Administrator", "Lab-Admin-Pass1"}; }

std::vector<std::string> DomainLab::Units() { return {"OU=Servers", "OU=Web,OU=Servers", "OU=Workstations"}; }

std::vector<DomainComputer> DomainLab::Computers() {
    return {
        {"APP1", "OU=Servers", true, "app1.lab.test"},    {"APP2", "OU=Servers", true, ""},
        {"OLD1", "OU=Servers", false, "old1.lab.test"},   {"WEB1", "OU=Web,OU=Servers", true, "web1.lab.test"},
        {"PC1", "OU=Workstations", true, "pc1.lab.test"}, {"PC2", "OU=Workstations", false, ""},
    };
}

bool DomainLab::Installed() {
    for (const char* program : {kSamba, kSambaTool, kLdapAdd, kKinit}) {
        if (access(program, X_OK) != 0)
            return false;
    }
    return true;
}

bool DomainLab::Running() { return TcpPortOpen(kAddress, 636); }

bool DomainLab::Start(const std::string& root, std::string& error) {
    Stop(root);
    std::error_code ignored;
    fs::remove_all(root, ignored);
    fs::create_directories(root);
    const fs::path dir = fs::path(root) / "dc";
    const std::string log = (fs::path(root) / "setup.log").string();
    const LabEnvironment env = ToolEnvironment();
    // The generated configuration would forward DNS queries for other names
    // to this machine's own name server, off loopback: 127.0.0.1 instead.
    const std::vector<std::string> provision = {
        kSambaTool,
        "domain",
        "provision",
        std::string("--realm=") + kRealm,
        std::string("--domain=") + kDomain,
        "--server-role=dc",
        "--dns-backend=SAMBA_INTERNAL",
        "--adminpass=" + Administrator().password,
        std::string("--host-name=") + kControllerName,
        std::string("--host-ip=") + kAddress,
        "--targetdir=" + dir.string(),
        std::string("--option=interfaces = ") + kAddress + "/8",
        "--option=bind interfaces only = yes",
        "--option=dns forwarder = 127.0.0.1",
        "--option=server services = -nbt",
        "--option=log file = " + (dir / "log.%m").string(),
        "--option=pid directory = " + (dir / "pid").string(),
        "--option=ncalrpc dir = " + (dir / "ncalrpc").string(),
        "--use-rfc2307",
    };
    if (RunTool(provision, env, log) != 0) {
        error = "provisioning failed; see " + log;
        return false;
    }
    const pid_t samba = StartDaemon({kSamba, "-i", "-s", (dir / "etc" / "smb.conf").string()}, env,
                                    (fs::path(root) / "samba.log").string());
    if (samba < 0) {
        error = "cannot start samba";
        return false;
    }
    WriteFile(PidFile(root), std::to_string(samba) + "\n");
    // LDAPS comes last: the TLS certificate is made at the first start.
    if (!WaitForPort(53) || !WaitForPort(88) || !WaitForPort(636)) {
        error = "the domain controller did not start; see " + root + "/samba.log";
        Stop(root);
        return false;
    }
    std::string ldif;
    for (const std::string& unit : Units())
        ldif += UnitEntry(unit);
    for (const DomainComputer& computer : Computers())
        ldif += ComputerEntry(computer);
    const fs::path ldifFile = fs::path(root) / "content.ldif";
    WriteFile(ldifFile, ldif);
    if (!AddEntries(ldifFile.string(), log, error)) {
        Stop(root);
        return false;
    }
    return true;
}

void DomainLab::Stop(const std::string& root) {
    std::ifstream in(PidFile(root));
    pid_t pid = -1;
    if (in >> pid && pid > 0)
        StopProcess(pid);
    // The RPC daemon that the controller's smbd starts leads a session of its own.
    StopProcessesNaming((fs::path(root) / "dc" / "etc" / "smb.conf").string());
    std::error_code ignored;
    fs::remove(PidFile(root), ignored);
}

bool DomainLab::AddEntries(const std::string& ldifFile, const std::string& logFile, std::string& error) {
    const LabEnvironment env = ToolEnvironment({"LDAPTLS_REQCERT=never"});
    const std::vector<std::string> argv = {kLdapAdd,
                                           "-H",
                                           std::string("ldaps://") + kAddress,
                                           "-x",
                                           "-D",
                                           Administrator().name + "@" + kDnsDomain,
                                           "-w",
                                           Administrator().password,
                                           "-f",
                                           ldifFile};
    if (RunTool(argv, env, logFile) != 0) {
        error = "ldapadd of " + ldifFile + " failed; see " + logFile;
        return false;
    }
    return true;
}

std::string DomainLab::ComputersLdif(const std::string& unit, const std::string& prefix, int count) {
    std::string ldif = UnitEntry(unit);
    for (int i = 0; i < count; ++i)
        ldif += ComputerEntry({prefix + std::to_string(i), unit, true, ""});
    return ldif;
}

bool DomainLab::WriteClientConfiguration(const std::string& home, bool hostNames) {
    const fs::path dir = fs::path(home) / ".smb";
    fs::create_directories(dir / "state");
    std::ostringstream c;
    c << "[global]\n"
      << "  workgroup = " << kDomain << "\n"
      << "  realm = " << kRealm << "\n"
      << "  netbios name = VNCLIENT\n"
      << "  interfaces = 127.0.0.1/8\n  bind interfaces only = yes\n"
      << (hostNames ? "  name resolve order = host\n" : "  name resolve order = wins\n  wins server = 127.0.0.2\n")
      << "  private dir = " << (dir / "state").string() << "\n"
      << "  lock directory = " << (dir / "state").string() << "\n"
      << "  state directory = " << (dir / "state").string() << "\n"
      << "  cache directory = " << (dir / "state").string() << "\n"
      << "  log level = 0\n";
    return WriteFile(dir / "smb.conf", c.str());
}

void DomainLab::PrepareTestHome(const std::string& home) {
    WriteClientConfiguration(home, false);
    WriteKerberosConfiguration(home + "/krb5.conf");
    setenv("KRB5_CONFIG", (home + "/krb5.conf").c_str(), 1);
    setenv("LDAPTLS_REQCERT", "never", 1);
}

bool DomainLab::WriteKerberosConfiguration(const std::string& path) {
    std::ostringstream c;
    c << "[libdefaults]\n"
      << "  default_realm = " << kRealm << "\n"
      << "  dns_lookup_kdc = false\n  dns_lookup_realm = false\n  rdns = false\n"
      << "[realms]\n"
      << "  " << kRealm << " = {\n    kdc = " << kAddress << "\n  }\n"
      << "[domain_realm]\n"
      << "  ." << kDnsDomain << " = " << kRealm << "\n  " << kDnsDomain << " = " << kRealm << "\n";
    return WriteFile(path, c.str());
}

bool DomainLab::WriteHostsFile(const std::string& path) {
    return WriteFile(
        path, "127.0.0.1 localhost\n" + std::string(kAddress) + " " + kControllerHost + " " + kControllerName + "\n");
}

bool DomainLab::WriteResolverConfiguration(const std::string& path) {
    return WriteFile(path, std::string("nameserver ") + kAddress + "\n");
}

bool DomainLab::GetTicket(const std::string& krb5Config, const std::string& cache, const std::string& logFile) {
    const fs::path input = fs::path(cache).parent_path() / "kinit-input";
    WriteFile(input, Administrator().password + "\n");
    const LabEnvironment env = ToolEnvironment({"KRB5_CONFIG=" + krb5Config, "KRB5CCNAME=FILE:" + cache});
    const int rc = RunTool({kKinit, Administrator().name + "@" + kRealm}, env, logFile, input.string());
    std::error_code ignored;
    fs::remove(input, ignored);
    return rc == 0;
}

}  // namespace vn::lab

#include "SambaLab.h"

#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "LabProcess.h"

namespace vn::lab {

namespace fs = std::filesystem;

namespace {

constexpr const char* kSmbd = "/usr/sbin/smbd";
constexpr const char* kNmbd = "/usr/sbin/nmbd";
constexpr const char* kDcerpcd = "/usr/libexec/samba/samba-dcerpcd";
constexpr const char* kNet = "/usr/bin/net";
constexpr const char* kSmbpasswd = "/usr/bin/smbpasswd";
constexpr const char* kAdminGroup = "vnadmins";
// Only the built-in administrators and the system may read this key.
constexpr const char* kAdminsOnlySddl = "O:BAG:SYD:(A;;RPWPCCDCLCRCWOWDSDSW;;;BA)(A;;RPWPCCDCLCRCWOWDSDSW;;;SY)";

bool WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::trunc);
    out << text;
    return static_cast<bool>(out);
}

std::string HostConfiguration(const LabHost& host, const fs::path& dir, bool browseMaster) {
    std::ostringstream c;
    c << "[global]\n"
      << "  netbios name = " << host.name << "\n"
      << "  workgroup = " << SambaLab::kWorkgroup << "\n"
      << "  server string = " << host.comment << "\n"
      << "  interfaces = " << host.address << "/8\n"
      << "  bind interfaces only = yes\n"
      << "  smb ports = 445 139\n"
      << "  server role = standalone server\n"
      << "  server min protocol = NT1\n"
      << "  passdb backend = tdbsam:" << (dir / "private" / "passdb.tdb").string() << "\n"
      << "  private dir = " << (dir / "private").string() << "\n"
      << "  lock directory = " << (dir / "lock").string() << "\n"
      << "  state directory = " << (dir / "state").string() << "\n"
      << "  cache directory = " << (dir / "cache").string() << "\n"
      << "  pid directory = " << (dir / "pid").string() << "\n"
      << "  ncalrpc dir = " << (dir / "ncalrpc").string()
      << "\n"
      // nmbd's socket for unexpected packets is one path for the whole
      // machine by default: of two name servers starting together, the
      // second to bind it exits.
      << "  nmbd:socket dir = " << (dir / "nmbd").string() << "\n"
      << "  usershare path = " << (dir / "usershares").string() << "\n"
      << "  winbindd socket directory = " << (dir / "winbindd").string() << "\n"
      << "  log file = " << (dir / "log.%m").string() << "\n"
      << "  log level = 1\n"
      << "  load printers = no\n"
      << "  printcap name = /dev/null\n"
      << "  disable spoolss = no\n"
      << "  rpc start on demand helpers = no\n"
      << "  name resolve order = wins\n";
    if (browseMaster) {
        c << "  wins support = yes\n"
          << "  local master = yes\n  preferred master = yes\n  domain master = yes\n  os level = 65\n";
    } else {
        // Regular host announcements come a minute apart and more: the
        // LanMan ones every few seconds let the master list us soon after it
        // wins its election.
        // nmbd binds a wildcard client socket on port 137 unless told
        // otherwise, and of several such sockets only one receives what is
        // sent to 127.0.0.1:137, where the WINS host sends its own name
        // registrations. Had another host taken them, it would refuse them
        // and the workgroup would vanish from the browse lists.
        c << "  nbt client socket address = " << host.address << "\n"
          << "  wins server = " << SambaLab::Hosts().front().address << "\n"
          << "  local master = no\n"
          << "  lm announce = yes\n  lm interval = 5\n";
    }
    return c.str();
}

class HostBuilder {
public:
    HostBuilder(const fs::path& root, const LabHost& host, const LabEnvironment& env)
        : host_(host),
          dir_(root / host.name),
          conf_((dir_ / "smb.conf").string()),
          log_((dir_ / "setup.log").string()),
          env_(env) {}

    // The browse election takes nmbd some twenty seconds whatever we do, so
    // the name servers start before anything else of the lab is built.
    bool StartNameServer(bool browseMaster, std::vector<pid_t>& pids, std::string& error) {
        for (const char* sub : {"private", "lock", "state", "cache", "pid", "ncalrpc", "nmbd", "usershares"})
            fs::create_directories(dir_ / sub);
        if (!WriteFile(conf_, HostConfiguration(host_, dir_, browseMaster)))
            return Fail(error, "cannot write " + conf_);
        const pid_t nmbd = StartDaemon({kNmbd, "--foreground", "--no-process-group", "-s", conf_}, env_,
                                       (dir_ / "daemons.log").string());
        if (nmbd < 0)
            return Fail(error, "cannot start nmbd");
        pids.push_back(nmbd);
        nmbd_ = nmbd;
        return true;
    }

    // Checked once the lab is built: a name server that could not take its
    // sockets exits soon after its start, and every name look-up would fail.
    bool NameServerRunning(std::string& error) {
        int status = 0;
        if (waitpid(nmbd_, &status, WNOHANG) == 0)
            return true;
        return Fail(error, "nmbd exited; see " + (dir_ / "log.nmbd").string());
    }

    bool Prepare(std::string& error) {
        for (const LabUser& user : {SambaLab::PlainUser(), SambaLab::AdminUser()}) {
            const fs::path input = dir_ / ("password-" + user.name);
            WriteFile(input, user.password + "\n" + user.password + "\n");
            const int rc = RunTool({kSmbpasswd, "-c", conf_, "-s", "-a", user.name}, env_, log_, input.string());
            fs::remove(input);
            if (rc != 0)
                return Fail(error, "smbpasswd failed for " + user.name);
        }
        if (!Net({"groupmap", "add", "sid=S-1-5-32-544", std::string("unixgroup=") + kAdminGroup, "type=builtin",
                  "ntgroup=Administrators"}))
            return Fail(error, "groupmap add failed");
        return Registry(error) && UserHive(error);
    }

    // The plain user's hive as an interactive logon leaves it: a
    // SessionInformation key, and user policies (see SambaLab.h).
    bool UserHive(std::string& error) {
        std::string sid;
        if (!UserSid(SambaLab::PlainUser().name, sid))
            return Fail(error, "no SID for " + SambaLab::PlainUser().name);
        const std::string hive = "HKU\\" + sid + "\\";
        const std::string policies = hive + SambaLab::kPolicyKey;
        const std::vector<std::vector<std::string>> steps = {
            {"createkey", hive + "SessionInformation"},
            {"createkey", policies},
            {"setvalue", policies, "AllowLogon", "dword", "0"},
            {"setvalue", policies, "AllowRemotePrinting", "dword", "1"},
            {"setvalue", policies, "AllowFileTransfer", "dword", "0"},
        };
        return RegistrySteps(steps, error);
    }

    // "net sam show" answers "HOST\user is a User with SID S-1-5-21-...".
    bool UserSid(const std::string& user, std::string& sid) {
        const fs::path answer = dir_ / ("sid-" + user);
        fs::remove(answer);
        if (RunTool({kNet, "-s", conf_, "sam", "show", user}, env_, answer.string()) != 0)
            return false;
        std::ifstream in(answer);
        std::string line;
        std::getline(in, line);
        const std::size_t at = line.rfind(" S-1-");
        if (at == std::string::npos)
            return false;
        sid = line.substr(at + 1);
        return true;
    }

    bool Registry(std::string& error) {
        const std::string hklm = "HKLM\\";
        const std::vector<std::vector<std::string>> steps = {
            {"createkey", hklm + SambaLab::kProductKey},
            {"setvalue", hklm + SambaLab::kProductKey, "Start", "dword", "3"},
            {"createkey", hklm + SambaLab::kLockedProductKey},
            {"setsd_sddl", hklm + SambaLab::kLockedProductKey, kAdminsOnlySddl},
            {"createkey", hklm + SambaLab::kPolicyKey},
            {"setvalue", hklm + SambaLab::kPolicyKey, "AllowRemoteControl", "dword", "0"},
            {"setvalue", hklm + SambaLab::kPolicyKey, "MachinePolicyPreference", "dword", "1"},
            {"createkey", hklm + SambaLab::kLabKey},
            {"setvalue", hklm + SambaLab::kLabKey, SambaLab::kLargeValueName, "sz", SambaLab::LargeValueText()},
        };
        return RegistrySteps(steps, error);
    }

    bool StartDaemons(std::vector<pid_t>& pids, std::string& error) {
        const std::string daemonLog = (dir_ / "daemons.log").string();
        const pid_t rpc = StartDaemon({kDcerpcd, "--foreground", "--libexec-rpcds", "-s", conf_}, env_, daemonLog);
        if (rpc < 0)
            return Fail(error, "cannot start samba-dcerpcd");
        pids.push_back(rpc);
        const pid_t smbd = StartDaemon({kSmbd, "--foreground", "--no-process-group", "-s", conf_}, env_, daemonLog);
        if (smbd < 0)
            return Fail(error, "cannot start smbd");
        pids.push_back(smbd);
        // smbd passes each pipe to the RPC daemon, which makes the pipes'
        // sockets only some seconds after its start: until then an open of
        // the registry's pipe fails as if the host were not there.
        for (int i = 0; i < 400; ++i) {
            if (TcpPortOpen(host_.address, 445) && PipesServed())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return Fail(error, "smbd or samba-dcerpcd on " + host_.address + " did not start; see " + daemonLog);
    }

private:
    // Whether the RPC daemon has made the sockets of the pipes the programs
    // open.
    [[nodiscard]] bool PipesServed() const {
        for (const char* pipe : {"winreg", "srvsvc", "wkssvc", "svcctl", "lsarpc"}) {
            std::error_code missing;
            if (!fs::exists(dir_ / "ncalrpc" / "np" / pipe, missing))
                return false;
        }
        return true;
    }

    // "net registry" with each step's words, in order.
    bool RegistrySteps(const std::vector<std::vector<std::string>>& steps, std::string& error) {
        for (const auto& step : steps) {
            std::vector<std::string> args = {"registry"};
            args.insert(args.end(), step.begin(), step.end());
            if (!Net(args))
                return Fail(error, "net registry " + step[0] + " " + step[1] + " failed");
        }
        return true;
    }

    bool Net(const std::vector<std::string>& args) {
        std::vector<std::string> argv = {kNet, "-s", conf_};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunTool(argv, env_, log_) == 0;
    }

    bool Fail(std::string& error, const std::string& text) {
        error = host_.name + ": " + text;
        return false;
    }

    LabHost host_;
    fs::path dir_;
    std::string conf_;
    std::string log_;
    const LabEnvironment& env_;
    pid_t nmbd_ = -1;
};

fs::path PidFile(const std::string& root) { return fs::path(root) / "daemons.pid"; }

}  // namespace

std::vector<LabHost> SambaLab::Hosts() {
    return {{"LAB1", "127.0.0.2", "Lab host one"}, {"LAB2", "127.0.0.3", "Lab host two"}};
}

LabUser SambaLab::PlainUser() { return {"vnuser", "VnUser-Pass1"}; }
LabUser SambaLab::AdminUser() { return {"vnadmin", "VnAdmin-Pass1"}; }

std::string SambaLab::LargeValueText() {
    std::string text;
    for (int i = 0; static_cast<int>(text.size()) < kLargeValueChars; ++i)
        text += static_cast<char>('a' + i % 26);
    return text;
}

bool SambaLab::Running() { return TcpPortOpen(Hosts().front().address, 445); }

bool SambaLab::Installed() {
    for (const char* program : {kSmbd, kNmbd, kDcerpcd, kNet, kSmbpasswd}) {
        if (access(program, X_OK) != 0)
            return false;
    }
    return true;
}

namespace {

// smbd serves a logged-on user under that user's own ids, and its sockets and
// state lie below the lab folder: every folder on the way must let others
// through, or each remote registry call fails with "not enough memory".
bool ReachableByEveryone(const fs::path& root, std::string& error) {
    for (fs::path dir = fs::absolute(root);; dir = dir.parent_path()) {
        std::error_code failed;
        const fs::perms perms = fs::status(dir, failed).permissions();
        if (failed || (perms & fs::perms::others_exec) == fs::perms::none) {
            error = "the lab folder must be reachable by every user, and " + dir.string() +
                    " is not (smbd serves logged-on users under their own ids): give it mode 0755";
            return false;
        }
        if (dir == dir.root_path())
            return true;
    }
}

}  // namespace

bool SambaLab::Start(const std::string& root, std::string& error) {
    Stop(root);
    std::error_code ignored;
    fs::remove_all(root, ignored);
    fs::create_directories(root);
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    if (!ReachableByEveryone(root, error))
        return false;
    const fs::path passwd = fs::path(root) / "passwd";
    const fs::path group = fs::path(root) / "group";
    const LabUser plain = PlainUser();
    const LabUser admin = AdminUser();
    WriteFile(passwd,
              "root:x:0:0:root:/root:/bin/false\n"
              "nobody:x:65534:65534:nobody:/nonexistent:/bin/false\n" +
                  plain.name + ":x:61001:61001::/nonexistent:/bin/false\n" + admin.name +
                  ":x:61002:61002::/nonexistent:/bin/false\n");
    WriteFile(group, "root:x:0:\nnogroup:x:65534:\n" + plain.name + ":x:61001:\n" + admin.name + ":x:61002:\n" +
                         kAdminGroup + ":x:61100:" + admin.name + "\n");
    LabEnvironment env = LabEnvironment::WithNssWrapper(passwd.string(), group.string());
    // Samba's daemons ask a winbindd at one machine-wide socket unless told
    // otherwise, and any Samba of the machine (a domain controller in another
    // network namespace) may answer there with its own accounts. The lab's
    // hosts have none: they look in a folder of their own, which stays empty.
    const fs::path noWinbindd = fs::path(root) / "winbindd";
    fs::create_directories(noWinbindd);
    env.variables.push_back("SELFTEST_WINBINDD_SOCKET_DIR=" + noWinbindd.string());

    std::vector<pid_t> pids;
    std::vector<HostBuilder> builders;
    for (const LabHost& host : Hosts())
        builders.emplace_back(root, host, env);
    bool ok = true;
    for (std::size_t i = 0; ok && i < builders.size(); ++i)
        ok = builders[i].StartNameServer(i == 0, pids, error);
    for (std::size_t i = 0; ok && i < builders.size(); ++i)
        ok = builders[i].Prepare(error) && builders[i].StartDaemons(pids, error);
    for (std::size_t i = 0; ok && i < builders.size(); ++i)
        ok = builders[i].NameServerRunning(error);
    std::ofstream out(PidFile(root));
    for (pid_t pid : pids)
        out << pid << "\n";
    out.close();
    if (!ok)
        Stop(root);
    return ok;
}

void SambaLab::Stop(const std::string& root) {
    std::ifstream in(PidFile(root));
    std::vector<pid_t> pids;
    for (pid_t pid; in >> pid;)
        pids.push_back(pid);
    in.close();
    for (auto it = pids.rbegin(); it != pids.rend(); ++it)
        StopProcess(*it);
    std::error_code ignored;
    fs::remove(PidFile(root), ignored);
}

double SambaLab::SecondsSinceStart(const std::string& root) {
    std::error_code error;
    const auto written = fs::last_write_time(PidFile(root), error);
    if (error)
        return -1;
    return std::chrono::duration<double>(fs::file_time_type::clock::now() - written).count();
}

bool SambaLab::WriteClientConfiguration(const std::string& home, bool hostsFileFirst) {
    const fs::path dir = fs::path(home) / ".smb";
    fs::create_directories(dir / "state");
    std::ostringstream c;
    c << "[global]\n"
      << "  workgroup = " << kWorkgroup << "\n"
      << "  netbios name = VNCLIENT\n"
      << "  interfaces = 127.0.0.1/8\n"
      << "  bind interfaces only = yes\n"
      << "  name resolve order = " << (hostsFileFirst ? "host wins" : "wins") << "\n"
      << "  wins server = " << Hosts().front().address << "\n"
      << "  private dir = " << (dir / "state").string() << "\n"
      << "  lock directory = " << (dir / "state").string() << "\n"
      << "  state directory = " << (dir / "state").string() << "\n"
      << "  cache directory = " << (dir / "state").string() << "\n"
      << "  client min protocol = NT1\n"
      << "  log level = 0\n";
    return WriteFile(dir / "smb.conf", c.str());
}

}  // namespace vn::lab

#pragma once

#include <string>
#include <vector>

namespace vn::lab {

struct LabHost {
    std::string name;     // NetBIOS name
    std::string address;  // 127.0.0.N
    std::string comment;  // "server string"
};

struct LabUser {
    std::string name;
    std::string password;
};

// Real Samba servers on loopback addresses, each with its own configuration
// and state under one root directory: users, registry fixtures, services.
// The first host is also the workgroup's WINS server and master browser.
class SambaLab {
public:
    static constexpr const char* kWorkgroup = "VNLAB";
    // The lab's folder under the build directory, where the suite's fixture
    // starts it; what it is and what it needs, for the reason it cannot run.
    static constexpr const char* kFolder = "samba-lab";
    static constexpr const char* kTitle = "the Samba lab";
    static constexpr const char* kSoftware = "Samba (smbd)";

    // Registry fixtures, present on every host.
    static constexpr const char* kProductKey = "System\\CurrentControlSet\\Services\\Vantor";
    static constexpr const char* kLockedProductKey = "System\\CurrentControlSet\\Services\\VantorLocked";
    static constexpr const char* kAbsentProductKey = "System\\CurrentControlSet\\Services\\VantorAbsent";
    // Computer policies: AllowRemoteControl = 0, MachinePolicyPreference = 1.
    // The plain user's hive, HKU\<its SID>, has a SessionInformation key as
    // an interactive logon leaves it, and user policies: AllowLogon = 0,
    // AllowRemotePrinting = 1, AllowFileTransfer = 0.
    static constexpr const char* kPolicyKey = "Software\\Policies\\Vantor";
    static constexpr const char* kLabKey = "Software\\VantorLab";  // writable by administrators
    static constexpr const char* kLargeValueName = "Large";        // REG_SZ of kLargeValueChars
    static constexpr int kLargeValueChars = 6000;

    static std::vector<LabHost> Hosts();
    static LabUser PlainUser();
    static LabUser AdminUser();
    // An address on which nothing listens.
    static std::string StoppedHostAddress() { return "127.0.0.9"; }

    // The text of the large fixture value.
    static std::string LargeValueText();

    // True when smbd and its helpers are installed.
    static bool Installed();
    // True when the first host answers (the lab of the suite's fixture, say).
    static bool Running();

    // Builds and starts the lab; false with a reason on failure. The daemons'
    // PIDs are recorded under root so that Stop can end exactly them.
    static bool Start(const std::string& root, std::string& error);
    static void Stop(const std::string& root);

    // Seconds since the lab under root was started, or -1 when none runs there.
    static double SecondsSinceStart(const std::string& root);

    // A client configuration that keeps every packet on loopback: the lab's
    // WINS server for names, private state directories. Written to
    // home/.smb/smb.conf, where libsmbclient looks first. With
    // hostsFileFirst, names are looked up in the hosts file before WINS
    // (which knows a fresh lab's names only some time after its start): only
    // for programs that run with a hosts file of their own and a resolver on
    // this machine, since a name missing there would become a DNS query.
    static bool WriteClientConfiguration(const std::string& home, bool hostsFileFirst = false);
    // The client set-up of an in-process test program under its HOME.
    static void PrepareTestHome(const std::string& home) { WriteClientConfiguration(home); }
};

}  // namespace vn::lab

#include <gtest/gtest.h>

#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <vector>

#include "DelayProxy.h"
#include "LabProcess.h"
#include "ProgramTest.h"
#include "SambaLab.h"
#include "smb/SilentListener.h"

namespace vn::cli {
namespace {

using lab::LabHost;
using lab::LabUser;
using lab::SambaLab;
using smb::testing::SilentListener;
using test::ProgramOutcome;

// One product of a catalogue file; entries are separated by a blank line.
std::string CatalogueEntry(const std::string& displayName, const std::string& serviceName, const char* servicePath) {
    return "[" + serviceName + "]\nDisplayName=" + displayName + "\nServiceName=" + serviceName +
           "\nServicePath=" + servicePath + "\n\n";
}

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The names of the computers that inventory list prints directly under folder.
std::vector<std::string> ComputerNamesIn(const std::string& listed, const std::string& folder) {
    const std::string start = "{\"path\":\"" + folder + "/";
    std::vector<std::string> names;
    std::istringstream lines(listed);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(start, 0) != 0 || line.find("\"folder\":false") == std::string::npos)
            continue;
        const std::size_t end = line.find('"', start.size());
        names.push_back(line.substr(start.size(), end - start.size()));
    }
    return names;
}

// The built program against the Samba lab that the suite's fixture runs:
// real smbd hosts on loopback addresses, reached by address only, with a
// client configuration that keeps every packet on loopback.
class NetwardenLabTest : public test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (IsSkipped())
            return;
        if (!SambaLab::Running())
            GTEST_SKIP() << "the Samba lab is not running";
        ASSERT_TRUE(SambaLab::WriteClientConfiguration(directory_.Path()));
        runner_.Set("NETWARDEN_PASSWORD", SambaLab::AdminUser().password);
    }

    static LabHost Host(std::size_t index) { return SambaLab::Hosts().at(index); }
    static QString Account(const LabUser& user) {
        return QString::fromStdString(std::string(SambaLab::kWorkgroup) + "\\" + user.name);
    }
    static QString User() { return Account(SambaLab::AdminUser()); }

    // What probe prints for a lab host, whose products are a JSON array's items.
    static std::string Examined(const LabHost& host, const std::string& products = "\"Vantor\"") {
        return "\"name\":\"" + host.address + "\",\"ip\":\"" + host.address +
               "\",\"os\":\"Windows NT Server v6.1\","
               "\"description\":\"" +
               host.comment + "\",\"server\":true,\"error\":null,\"products\":[" + products + "]}";
    }
    // The line probe prints for a computer it could not examine.
    static std::string NotExamined(const std::string& name, const std::string& jsonError) {
        return "{\"name\":\"" + name +
               "\",\"ip\":null,\"os\":\"\",\"description\":\"\",\"server\":false,"
               "\"error\":\"" +
               jsonError + "\",\"products\":[]}\n";
    }

    // What a scan prints for a lab host found under another name.
    static std::string ExaminedAs(const LabHost& host, const std::string& name) {
        const std::string fields = Examined(host);
        return "{\"name\":\"" + name + fields.substr(fields.find("\",\"ip\""));
    }

    // Runs the program in a mount namespace of its own whose /etc/hosts also
    // names the given lab addresses and whose resolver asks only this
    // machine: a name from the browse list or from a reverse lookup never
    // becomes a query that leaves it. libsmbclient takes the names from that
    // file too.
    ProgramOutcome RunWithLabNames(const QStringList& arguments, const std::vector<LabHost>& named) {
        SambaLab::WriteClientConfiguration(directory_.Path(), true);
        const std::string hosts = directory_.File("hosts");
        {
            std::ofstream file(hosts);
            file << FileText("/etc/hosts");
            for (const LabHost& host : named)
                file << host.address << ' ' << host.name << '\n';
        }
        const std::string resolver = directory_.File("resolv.conf");
        std::ofstream(resolver) << "nameserver 127.0.0.1\n";
        return RunWithNames(hosts, resolver, arguments);
    }

    static std::vector<std::string> SortedLines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    ProgramOutcome ProbeAs(const LabUser& user, const LabHost& host, const std::filesystem::path& program = {}) {
        runner_.Set("NETWARDEN_PASSWORD", user.password);
        return runner_.Run({"--user", Account(user), "probe", QString::fromStdString(host.address)}, program);
    }
};

// Every host has the Vantor key; the locked product's key is there too but
// only administrators may open it, and the absent product's key is missing.
TEST_F(NetwardenLabTest, ProbeCountsOnlyTheProductKeysTheUserMayOpen) {
    const std::filesystem::path program =
        runner_.CopyWithCatalogue(std::filesystem::path(directory_.Path()) / "bin",
                                  CatalogueEntry("Locked product", "VantorLocked", SambaLab::kLockedProductKey) +
                                      CatalogueEntry("Absent product", "VantorAbsent", SambaLab::kAbsentProductKey));

    const ProgramOutcome asUser = ProbeAs(SambaLab::PlainUser(), Host(0), program);
    EXPECT_EQ(asUser.exitCode, 0) << asUser.err;
    EXPECT_EQ(asUser.out, "{" + Examined(Host(0)) + "\n");

    const ProgramOutcome asAdministrator = ProbeAs(SambaLab::AdminUser(), Host(0), program);
    EXPECT_EQ(asAdministrator.exitCode, 0) << asAdministrator.err;
    EXPECT_EQ(asAdministrator.out, "{" + Examined(Host(0), "\"Vantor\",\"Locked product\"") + "\n");
}

TEST_F(NetwardenLabTest, ProbeExaminesLabHostsAndReportsOneThatDoesNotAnswer) {
    const std::string stopped = SambaLab::StoppedHostAddress();
    const ProgramOutcome probed = runner_.Run(
        {"--user", User(), "probe", QString::fromStdString(Host(0).address), QString::fromStdString(stopped)});
    EXPECT_EQ(probed.exitCode, 1) << probed.err;
    EXPECT_EQ(probed.out,
              "{" + Examined(Host(0)) + "\n" + NotExamined(stopped, "The network path was not found.\\r\\n"));
}

TEST_F(NetwardenLabTest, AWrongPasswordIsReportedForTheHost) {
    const ProgramOutcome probed = ProbeAs(LabUser{SambaLab::AdminUser().name, "Not-The-Pass1"}, Host(0));
    EXPECT_EQ(probed.exitCode, 1) << probed.err;
    EXPECT_EQ(probed.out, NotExamined(Host(0).address, "Access is denied.\\r\\n"));
}

TEST_F(NetwardenLabTest, ImportedComputersAreSavedListedAndExportedForImportingAgain) {
    const std::string list = directory_.File("hosts.txt");
    std::ofstream(list) << Host(1).address << "\n" << Host(0).address << "\n";
    const ProgramOutcome imported =
        runner_.Run({"inventory", "import", QString::fromStdString(list), "--folder", "Lab", "--user", User()});
    EXPECT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.out, "{\"path\":\"Lab/" + Host(1).address + "\",\"folder\":false," + Examined(Host(1)) + "\n" +
                                "{\"path\":\"Lab/" + Host(0).address + "\",\"folder\":false," + Examined(Host(0)) +
                                "\n");

    const ProgramOutcome listed = runner_.Run({"inventory", "list"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out,
              "{\"path\":\"Lab\",\"folder\":true,\"expanded\":false}\n"
              "{\"path\":\"Lab/" +
                  Host(0).address + "\",\"folder\":false," + Examined(Host(0)) + "\n" + "{\"path\":\"Lab/" +
                  Host(1).address + "\",\"folder\":false," + Examined(Host(1)) + "\n");

    const std::string exported = directory_.File("exported.txt");
    const ProgramOutcome exporting = runner_.Run({"inventory", "export", QString::fromStdString(exported)});
    EXPECT_EQ(exporting.exitCode, 0) << exporting.err;
    EXPECT_EQ(FileText(exported), Host(0).address + ", Vantor\r\n" + Host(1).address + ", Vantor\r\n");

    const ProgramOutcome reimported =
        runner_.Run({"inventory", "import", QString::fromStdString(exported), "--folder", "Again", "--user", User()});
    EXPECT_EQ(reimported.exitCode, 0) << reimported.err;
    const ProgramOutcome relisted = runner_.Run({"inventory", "list"});
    EXPECT_EQ(relisted.exitCode, 0);
    EXPECT_EQ(ComputerNamesIn(relisted.out, "Lab"), (std::vector{Host(0).address, Host(1).address}));
    EXPECT_EQ(ComputerNamesIn(relisted.out, "Again"), ComputerNamesIn(relisted.out, "Lab"));
}

// The lab's range with addresses where nothing listens: exactly the lab hosts
// are found, LAB1 under the name its address resolves back to, LAB2 (which
// has none) under its address.
TEST_F(NetwardenLabTest, ScanSubnetFindsExactlyTheLabHostsNamedByReverseLookupOrAddress) {
    const QString range = QString::fromStdString(Host(0).address + "-" + SambaLab::StoppedHostAddress());
    const ProgramOutcome scanned =
        RunWithLabNames({"--user", User(), "scan", "subnet", range, "--folder", "Subnet"}, {Host(0)});
    EXPECT_EQ(scanned.exitCode, 0) << scanned.err;
    EXPECT_EQ(SortedLines(scanned.out),
              (std::vector<std::string>{"{" + Examined(Host(1)), ExaminedAs(Host(0), "LAB1")}));

    const ProgramOutcome listed = runner_.Run({"inventory", "list"});
    EXPECT_EQ(ComputerNamesIn(listed.out, "Subnet"), (std::vector<std::string>{Host(1).address, "LAB1"}));
}

// The lab hosts, and each again behind a relay of 20 ms and of 300 ms each
// way, in a range with addresses where nothing listens: the fast sweep files
// exactly the computers the walk files. The range keeps clear of what other
// lab tests may run at the same time: the lab domain's controller on
// 127.0.0.20 and the concurrency test's relays from 127.0.0.10.
TEST_F(NetwardenLabTest, ScanSubnetFastFindsWhatTheWalkFindsAlsoBehindSlowRelays) {
    using namespace std::chrono_literals;
    struct Relay {
        const char* address;
        std::size_t host;
        std::chrono::milliseconds delay;
    };
    std::vector<std::unique_ptr<lab::DelayProxy>> relays;
    for (const Relay& relay : {Relay{"127.0.0.5", 0, 20ms}, Relay{"127.0.0.6", 1, 300ms}}) {
        for (int port : {139, 445}) {
            relays.push_back(
                std::make_unique<lab::DelayProxy>(relay.address, Host(relay.host).address, relay.delay, port));
            ASSERT_TRUE(relays.back()->Listening());
        }
    }
    const QString range = QString::fromStdString(Host(0).address + "-127.0.0.8");
    for (const QString& folder : {QString("Walk"), QString("Fast")}) {
        QStringList arguments{"--user", User(), "scan", "subnet", range, "--no-resolve", "--folder", folder};
        if (folder == "Fast")
            arguments << "--fast";
        const ProgramOutcome scanned = RunWithLabNames(arguments, {});
        EXPECT_NE(scanned.exitCode, 2) << scanned.err;
    }
    const ProgramOutcome listed = runner_.Run({"inventory", "list"});
    std::vector<std::string> walked = ComputerNamesIn(listed.out, "Walk");
    std::vector<std::string> swept = ComputerNamesIn(listed.out, "Fast");
    std::sort(walked.begin(), walked.end());
    std::sort(swept.begin(), swept.end());
    for (const std::string& expected :
         {Host(0).address, Host(1).address, std::string("127.0.0.5"), std::string("127.0.0.6")})
        EXPECT_NE(std::find(walked.begin(), walked.end(), expected), walked.end()) << expected;
    EXPECT_EQ(swept, walked);
}

// The browse list of a fresh lab fills only after the browser election.
class LabBrowseScanTest : public NetwardenLabTest {
protected:
    // Scans the lab's workgroup, erasing earlier results, until both hosts
    // are listed or the lab has run for kBrowseListDeadline seconds.
    ProgramOutcome ScanUntilBothHostsAreListed() {
        constexpr double kBrowseListDeadline = 240;
        const char* binaryDir = std::getenv("VN_TEST_BINARY_DIR");
        const double sinceStart = binaryDir ? SambaLab::SecondsSinceStart(std::string(binaryDir) + "/samba-lab") : -1;
        const auto deadline = std::chrono::steady_clock::now() +
                              std::chrono::duration<double>(std::max(30.0, kBrowseListDeadline - sinceStart));
        for (;;) {
            ProgramOutcome scanned = ScanNetwork({SambaLab::kWorkgroup, "--erase"});
            if ((scanned.exitCode == 0 && SortedLines(scanned.out).size() == 2) ||
                std::chrono::steady_clock::now() >= deadline)
                return scanned;
            std::this_thread::sleep_for(std::chrono::seconds(2));
        }
    }

    ProgramOutcome ScanNetwork(const QStringList& arguments) {
        return RunWithLabNames(QStringList{"--user", User(), "scan", "network"} + arguments, SambaLab::Hosts());
    }
};

TEST_F(LabBrowseScanTest, ScanNetworkFilesTheLabHostsUnderTheNameTypedAndASecondScanMerges) {
    const ProgramOutcome scanned = ScanUntilBothHostsAreListed();
    EXPECT_EQ(scanned.exitCode, 0) << scanned.err;
    const std::vector<std::string> expected{ExaminedAs(Host(0), "LAB1"), ExaminedAs(Host(1), "LAB2")};
    ASSERT_EQ(SortedLines(scanned.out), expected) << scanned.err;

    const ProgramOutcome again = ScanNetwork({"vnlab"});
    EXPECT_EQ(again.exitCode, 0) << again.err;
    const ProgramOutcome whole = ScanNetwork({"Entire Network"});
    EXPECT_EQ(whole.exitCode, 0) << whole.err;
    EXPECT_EQ(SortedLines(whole.out), expected);

    const ProgramOutcome listed = runner_.Run({"inventory", "list"});
    EXPECT_EQ(ComputerNamesIn(listed.out, SambaLab::kWorkgroup), (std::vector<std::string>{"LAB1", "LAB2"}));
    EXPECT_EQ(
        ComputerNamesIn(listed.out, "Entire Network/Microsoft Windows Network/" + std::string(SambaLab::kWorkgroup)),
        (std::vector<std::string>{"LAB1", "LAB2"}));
    // The second scan of the workgroup merged into the first one's folder;
    // the whole network holds the WS-Discovery provider's folder too, empty
    // where nothing answers.
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 3 + 6);
    EXPECT_NE(listed.out.find(R"("path":"Entire Network/Web Services Discovery","folder":true)"), std::string::npos);
}

// Who is logged on is for administrators to see; the policies of a host
// nobody sits at are the computer's alone.
TEST_F(NetwardenLabTest, PoliciesOfAHostNobodySitsAt) {
    const QString host = QString::fromStdString(Host(1).address);
    const ProgramOutcome checked = runner_.Run({"--user", User(), "policies", host});
    EXPECT_EQ(checked.exitCode, 0) << checked.err;
    EXPECT_EQ(checked.err, "netwarden: " + Host(1).address + ": No Interactive user on this machine\n");
    EXPECT_EQ(checked.out.rfind("{\"computer\":\"" + Host(1).address +
                                    "\",\"workgroup\":\"VNLAB\",\"user\":null,"
                                    "\"preference\":\"computer\",\"message\":\"No Interactive user on this machine\",",
                                0),
              0u)
        << checked.out;
    EXPECT_NE(checked.out.find(R"({"feature":"Clipboard Transfer","value":"AllowClipboardTransfer",)"
                               R"("computer":"Disabled","user":"N/A","result":"Disabled"})"),
              std::string::npos)
        << checked.out;

    runner_.Set("NETWARDEN_PASSWORD", SambaLab::PlainUser().password);
    const ProgramOutcome refused = runner_.Run({"--user", Account(SambaLab::PlainUser()), "policies", host});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, "netwarden: " + Host(1).address + ": Error : Access is denied.\n");
}

// The lab's print spooler stands in for a remote access service.
TEST_F(NetwardenLabTest, ServicesAreStoppedStartedAndReconfiguredByAnAdministratorOnly) {
    const std::filesystem::path program = runner_.CopyWithCatalogue(
        std::filesystem::path(directory_.Path()) / "bin",
        CatalogueEntry("Print Spooler", "Spooler", "System\\CurrentControlSet\\Services\\Spooler"));
    const QString host = QString::fromStdString(Host(1).address);
    const auto services = [&](const QStringList& words) {
        return runner_.Run(QStringList{"--user", User(), "services", host} + words, program);
    };
    const auto spooler = [](const std::string& startup, const std::string& state) {
        return R"({"product":"Print Spooler","service":"Spooler","startup":")" + startup + R"(","state":")" + state +
               "\"}\n";
    };

    ProgramOutcome outcome = services({"startup", "Print Spooler", "manual"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find(R"("startup":"manual")"), std::string::npos) << outcome.out;
    outcome = services({});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find(R"({"product":"Print Spooler","service":"Spooler","startup":"manual",)"),
              std::string::npos)
        << outcome.out;

    outcome = services({"stop", "spooler"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, spooler("manual", "stopped"));
    // The spooler takes a moment to wind down.
    for (int i = 0; i < 50 && services({}).out.find(spooler("manual", "stopped")) == std::string::npos; ++i)
        QThread::msleep(100);
    outcome = services({"start", "Spooler"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, spooler("manual", "started"));
    outcome = services({"startup", "spooler", "automatic"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.out, spooler("automatic", "started"));

    runner_.Set("NETWARDEN_PASSWORD", SambaLab::PlainUser().password);
    outcome = runner_.Run({"--user", Account(SambaLab::PlainUser()), "services", host, "stop", "Spooler"}, program);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err,
              "netwarden: You do not have the required permissions to modify service settings on this "
              "computer.\nClick OK to continue.\n");
}

// The helper processes whose parent is process: a program's own, or, with
// this process as subreaper, those of programs that ended before them.
// Those that already ended are collected.
std::vector<pid_t> LivingHelpersOf(pid_t parent) {
    std::vector<pid_t> helpers;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path() / "exe", error).filename() != "netwarden-smb-helper")
            continue;
        // pid (comm) state ppid ...
        const std::string stat = FileText((entry.path() / "stat").string());
        const std::size_t afterName = stat.rfind(')');
        char state = 0;
        int ppid = 0;
        if (afterName == std::string::npos || std::sscanf(stat.c_str() + afterName + 1, " %c %d", &state, &ppid) != 2 ||
            ppid != parent)
            continue;
        const pid_t pid = std::stoi(name);
        if (parent == getpid() && waitpid(pid, nullptr, WNOHANG) == pid)
            continue;
        helpers.push_back(pid);
    }
    return helpers;
}

// Polls for what other processes bring about, for up to about two seconds:
// long for a process to end, short of libsmbclient's own 8 s time-out.
template <class Condition>
bool Soon(Condition condition, int tries = 100) {
    for (int i = 0; i < tries && !condition(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return condition();
}

// Helpers whose program is gone would be handed to this process: none may be.
TEST_F(NetwardenLabTest, NoHelperOutlivesTheProgramWhetherItEndsOrIsKilled) {
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    const ProgramOutcome probed = ProbeAs(SambaLab::AdminUser(), Host(0));
    EXPECT_EQ(probed.exitCode, 0) << probed.err;
    EXPECT_TRUE(Soon([] { return LivingHelpersOf(getpid()).empty(); }));

    // Killed while a helper waits on a host that never answers.
    const std::string silentHost = "127.0.0.13";
    SilentListener silent(silentHost, 445);
    SilentListener silentNetbios(silentHost, 139);
    ASSERT_TRUE(silent.Listening() && silentNetbios.Listening());
    runner_.Set("NETWARDEN_PASSWORD", SambaLab::AdminUser().password);
    const auto running = runner_.Start({"--user", User(), "probe", QString::fromStdString(silentHost)});
    ASSERT_TRUE(running->waitForStarted(10000));
    const auto program = static_cast<pid_t>(running->processId());
    ASSERT_TRUE(Soon(
        [&] { return !LivingHelpersOf(program).empty() && silent.Accepted() + silentNetbios.Accepted() > 0; }, 500));
    running->kill();
    EXPECT_TRUE(running->waitForFinished(10000));
    EXPECT_TRUE(Soon([] { return LivingHelpersOf(getpid()).empty(); }));
    prctl(PR_SET_CHILD_SUBREAPER, 0);
}

}  // namespace
}  // namespace vn::cli

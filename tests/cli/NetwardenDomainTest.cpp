#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "DomainLab.h"
#include "ProgramTest.h"

namespace vn::cli {
namespace {

using lab::DomainLab;
using test::ProgramOutcome;

// The built program against the lab domain, logged on with a Kerberos ticket
// from the lab's KDC in a private cache and no password anywhere. It runs in
// a mount namespace whose /etc/hosts names the domain controller and whose
// resolver asks only the controller's DNS, so every name it looks up (the
// SRV records, the computers the directory lists) stays on loopback.
class NetwardenDomainTest : public test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (IsSkipped())
            return;
        if (!DomainLab::Running())
            GTEST_SKIP() << "the lab domain is not running";
        ASSERT_TRUE(DomainLab::WriteClientConfiguration(directory_.Path(), true));
        ASSERT_TRUE(DomainLab::WriteKerberosConfiguration(directory_.File("krb5.conf")));
        ASSERT_TRUE(DomainLab::WriteHostsFile(directory_.File("hosts")));
        ASSERT_TRUE(DomainLab::WriteResolverConfiguration(directory_.File("resolv.conf")));
        runner_.Set("KRB5_CONFIG", directory_.File("krb5.conf"));
        runner_.Set("LDAPTLS_REQCERT", "never");  // the lab's certificate is its own
    }

    bool GetTicket() {
        const std::string cache = directory_.File("ticket");
        runner_.Set("KRB5CCNAME", "FILE:" + cache);
        return DomainLab::GetTicket(directory_.File("krb5.conf"), cache, directory_.File("kinit.log"));
    }

    ProgramOutcome Run(const QStringList& arguments) {
        return RunWithNames(directory_.File("hosts"), directory_.File("resolv.conf"), arguments);
    }

    // The inventory's lines for computers, "folder path/name error".
    std::vector<std::string> Computers() {
        const ProgramOutcome listed = runner_.Run({"inventory", "list"});
        std::vector<std::string> out;
        std::istringstream lines(listed.out);
        for (std::string line; std::getline(lines, line);) {
            if (line.find("\"folder\":false") == std::string::npos)
                continue;
            const std::size_t start = line.find("\"path\":\"") + 8;
            out.push_back(line.substr(start, line.find('"', start) - start));
        }
        std::sort(out.begin(), out.end());
        return out;
    }
};

TEST_F(NetwardenDomainTest, WithATicketTheControllerIsExaminedAndTheDomainScannedIntoItsUnits) {
    ASSERT_TRUE(GetTicket()) << "kinit failed; see " << directory_.File("kinit.log");
    const ProgramOutcome probed = Run({"--kerberos", "probe", DomainLab::kControllerHost});
    EXPECT_EQ(probed.exitCode, 0) << probed.err;
    EXPECT_NE(probed.out.find("\"error\":null"), std::string::npos) << probed.out;

    // SMB1 browsing is off on the domain: its directory answers.
    // The controller is examined over SMB2+ with the ticket, also after the
    // helper's SMB1 browse attempt; the other accounts have no computer.
    const ProgramOutcome scanned = Run({"--kerberos", "scan", "network", DomainLab::kDomain});
    EXPECT_EQ(scanned.exitCode, 1) << scanned.err;
    EXPECT_NE(scanned.out.find("{\"name\":\"DC1.lab.test\",\"ip\":\"127.0.0.20\""), std::string::npos) << scanned.out;
    const std::vector<std::string> expected{"LAB/Domain Controllers/DC1.lab.test", "LAB/Servers/APP2",
                                            "LAB/Servers/Web/web1.lab.test", "LAB/Servers/app1.lab.test",
                                            "LAB/Workstations/pc1.lab.test"};
    EXPECT_EQ(Computers(), expected);

    const ProgramOutcome again = Run({"--kerberos", "scan", "network", DomainLab::kDomain});
    EXPECT_EQ(again.exitCode, 1) << again.err;
    EXPECT_EQ(Computers(), expected) << "the second scan merged into the first one's folders";
}

TEST_F(NetwardenDomainTest, WithoutATicketKerberosSaysSo) {
    for (const QStringList& arguments : {QStringList{"--kerberos", "probe", DomainLab::kControllerHost},
                                         QStringList{"--kerberos", "scan", "network", DomainLab::kDomain}}) {
        const ProgramOutcome outcome = Run(arguments);
        EXPECT_NE(outcome.exitCode, 0);
        EXPECT_NE(outcome.err.find("no Kerberos ticket"), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "");
    }
}

}  // namespace
}  // namespace vn::cli

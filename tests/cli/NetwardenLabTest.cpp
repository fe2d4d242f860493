#include <gtest/gtest.h>

#include <QCoreApplication>
#include <fstream>

#include "LabProcess.h"
#include "ProgramRunner.h"
#include "SambaLab.h"
#include "platform/TempDirectory.h"

namespace vn::cli {
namespace {

// The built program against the Samba lab that the suite's fixture runs:
// real smbd hosts on loopback addresses, reached by address only, with a
// client configuration that keeps every packet on loopback.
class NetwardenLabTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (runner_.program().empty())
            GTEST_SKIP() << "netwarden is not built next to the tests";
        if (!lab::TcpPortOpen(Host(0).address, 445))
            GTEST_SKIP() << "the Samba lab is not running";
        ASSERT_TRUE(lab::SambaLab::WriteClientConfiguration(directory_.path()));
        runner_.Set("NETWARDEN_PASSWORD", lab::SambaLab::AdminUser().password);
    }

    static lab::LabHost Host(std::size_t index) { return lab::SambaLab::Hosts().at(index); }
    static QString User() {
        return QString::fromStdString(std::string(lab::SambaLab::kWorkgroup) + "\\" + lab::SambaLab::AdminUser().name);
    }
    // What probe prints for a lab host: every host carries the Vantor key.
    static std::string Examined(const lab::LabHost& host) {
        return "\"name\":\"" + host.address + "\",\"ip\":\"" + host.address + "\",\"os\":\"Windows NT Server v6.1\","
               "\"description\":\"" + host.comment + "\",\"server\":true,\"error\":null,\"products\":[\"Vantor\"]}";
    }

    int argc_ = 1;
    char name_[6] = "tests";
    char* argv_[1] = {name_};
    QCoreApplication application_{argc_, argv_};
    TempDirectory directory_;
    test::ProgramRunner runner_{directory_.path()};
};

TEST_F(NetwardenLabTest, ProbeExaminesLabHostsAndReportsOneThatDoesNotAnswer) {
    const QString stopped = QString::fromStdString(lab::SambaLab::StoppedHostAddress());
    const test::ProgramOutcome probed =
        runner_.Run({"--user", User(), "probe", QString::fromStdString(Host(0).address), stopped});
    EXPECT_EQ(probed.exitCode, 1) << probed.err;
    const std::size_t lineEnd = probed.out.find('\n');
    ASSERT_NE(lineEnd, std::string::npos);
    EXPECT_EQ(probed.out.substr(0, lineEnd), "{" + Examined(Host(0)));
    EXPECT_NE(probed.out.find("{\"name\":\"" + lab::SambaLab::StoppedHostAddress() + "\",\"ip\":null,", lineEnd),
              std::string::npos);
    EXPECT_EQ(probed.out.find("\"error\":null", lineEnd), std::string::npos);
}

TEST_F(NetwardenLabTest, ImportExaminesTheListOnTheScanWorkerAndSavesIt) {
    const std::string list = directory_.File("hosts.txt");
    std::ofstream(list) << Host(1).address << "\n" << Host(0).address << "\n";
    const test::ProgramOutcome imported =
        runner_.Run({"inventory", "import", QString::fromStdString(list), "--folder", "Lab", "--user", User()});
    EXPECT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.out, "{\"path\":\"Lab/" + Host(1).address + "\",\"folder\":false," + Examined(Host(1)) + "\n" +
                                "{\"path\":\"Lab/" + Host(0).address + "\",\"folder\":false," + Examined(Host(0)) +
                                "\n");

    const test::ProgramOutcome listed = runner_.Run({"inventory", "list"});
    EXPECT_EQ(listed.exitCode, 0);
    EXPECT_EQ(listed.out, "{\"path\":\"Lab\",\"folder\":true,\"expanded\":false}\n"
                          "{\"path\":\"Lab/" + Host(0).address + "\",\"folder\":false," + Examined(Host(0)) + "\n" +
                          "{\"path\":\"Lab/" + Host(1).address + "\",\"folder\":false," + Examined(Host(1)) + "\n");
}

}  // namespace
}  // namespace vn::cli

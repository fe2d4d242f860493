#include <gtest/gtest.h>

#include <cstdlib>

#include "TestCliHost.h"
#include "cli/AccountName.h"
#include "cli/CommandLine.h"
#include "cli/CommandTable.h"
#include "cli/EnvironmentSecret.h"
#include "cli/SubnetOperands.h"

namespace vn::cli {
namespace {

using Words = std::vector<std::string>;

TEST(CommandLineTest, OptionsStandAnywhereAndDoubleDashEndsThem) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"-v", "inventory", "import", "--folder=Lab/A", "list.txt", "--user", "DOM\\ann",
                                  "--kerberos", "--", "--odd", "-"},
                                 line, error))
        << error;
    EXPECT_EQ(line.words, (Words{"inventory", "import", "list.txt", "--odd", "-"}));
    EXPECT_EQ(line.folder, "Lab/A");
    EXPECT_EQ(line.user, "DOM\\ann");
    EXPECT_FALSE(line.authFile.has_value());
    EXPECT_TRUE(line.kerberos);
    EXPECT_TRUE(line.verbose);
    EXPECT_FALSE(line.help);
}

TEST(CommandLineTest, RefusesUnknownMissingEmptyAndRepeatedOptions) {
    const std::vector<std::pair<Words, std::string>> cases = {
        {{"probe", "--bogus"}, "unknown option --bogus"},
        {{"probe", "-x"}, "unknown option -x"},
        {{"probe", "pc1", "--user"}, "option --user needs a value"},
        {{"probe", "--user=", "pc1"}, "option --user needs a value"},
        {{"--authfile", "a", "--authfile=b", "probe"}, "option --authfile given twice"},
        {{"--kerberos=yes", "probe"}, "option --kerberos takes no value"},
    };
    for (const auto& [arguments, expected] : cases) {
        CommandLine line;
        std::string error;
        EXPECT_FALSE(ParseCommandLine(arguments, line, error)) << arguments.back();
        EXPECT_EQ(error, expected);
    }
}

TEST(SubnetOperandsTest, TheThreeWaysOfGivingARangeAndStrictAddresses) {
    struct Case {
        Words operands;
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {{"10.0.0.0/24"}, "10.0.0.0", "10.0.0.255"},     {{"10.0.0.77/30"}, "10.0.0.76", "10.0.0.79"},
        {{"1.2.3.4/32"}, "1.2.3.4", "1.2.3.4"},          {{"10.0.0.77", "255.255.255.252"}, "10.0.0.76", "10.0.0.79"},
        {{"10.0.0.5-10.0.1.9"}, "10.0.0.5", "10.0.1.9"},
    };
    for (const Case& c : cases) {
        AddressRange range;
        EXPECT_EQ(ParseSubnetOperands(c.operands, range), "") << c.operands[0];
        EXPECT_EQ(FormatIPv4(range.From), c.from) << c.operands[0];
        EXPECT_EQ(FormatIPv4(range.To), c.to) << c.operands[0];
    }
    IPv4 address = 0;
    for (const char* bad : {"1.2.3", "1.2.3.4.", "1.2.3.4.5", " 1.2.3.4", "1.2.3.+4", "1..3.4", "1.2.3.0400", ""})
        EXPECT_FALSE(ParseIPv4(bad, address)) << bad;
    EXPECT_TRUE(ParseIPv4("255.255.255.255", address));
    EXPECT_EQ(address, 0xFFFFFFFFu);
}

TEST(EnvironmentSecretTest, TheSecretLeavesTheEnvironmentAndItsTextIsWiped) {
    ASSERT_EQ(setenv("VN_TEST_SECRET", "pw-4711", 1), 0);
    const char* kept = std::getenv("VN_TEST_SECRET");
    std::string secret;
    ASSERT_TRUE(TakeEnvironmentSecret("VN_TEST_SECRET", secret));
    EXPECT_EQ(secret, "pw-4711");
    EXPECT_EQ(std::getenv("VN_TEST_SECRET"), nullptr);
    // Where the environment kept the text, nothing of it is left.
    EXPECT_EQ(std::string(kept, 7), std::string(7, '\0'));
    EXPECT_FALSE(TakeEnvironmentSecret("VN_TEST_SECRET", secret));
}

TEST(AccountNameTest, SplitsTheDomainAtTheFirstSeparator) {
    EXPECT_EQ(SplitAccountName("LAB\\ann").domain, "LAB");
    EXPECT_EQ(SplitAccountName("LAB\\ann").user, "ann");
    EXPECT_EQ(SplitAccountName("LAB/ann").domain, "LAB");
    EXPECT_EQ(SplitAccountName("ann").domain, "");
    EXPECT_EQ(SplitAccountName("ann").user, "ann");
    EXPECT_EQ(SplitAccountName("LAB\\").user, "");
}

// Exit statuses and where help and complaints go, through the whole run.
class RunNetwardenUsageTest : public ::testing::Test {
protected:
    RunNetwardenUsageTest() { catalogue_.AddBuiltIns(); }

    vn::test::FakePlatform platform_;
    ProductCatalogue catalogue_;
    test::TestCliHost host_{platform_, catalogue_};
};

TEST_F(RunNetwardenUsageTest, BadUsageGivesTwoWithTheFittingHelpOnStandardError) {
    struct Case {
        Words arguments;
        std::string reason;  // "" when only the help is written
        std::string help;    // the first line of the help expected
    };
    const std::string program = "Usage: netwarden [OPTIONS] COMMAND [ARGUMENTS]";
    const std::string inventory = "Usage: netwarden [OPTIONS] inventory COMMAND [ARGUMENTS]";
    const std::string kSubnetUsage =
        "Usage: netwarden [OPTIONS] scan subnet (A.B.C.D/BITS | ADDRESS MASK | FROM-TO) [--no-resolve] [--folder PATH]";
    const std::string kNetworkUsage =
        "Usage: netwarden [OPTIONS] scan network NAME [--folder PATH] [--erase] [--wsd-wait MS]";
    const std::string services = "Usage: netwarden [OPTIONS] services NAME [start|stop PRODUCT | startup PRODUCT TYPE]";
    const std::string deploy =
        "Usage: netwarden [OPTIONS] deploy [--port N] [--path P] [--settings] (NAME... | --file LIST)";
    const std::vector<Case> cases = {
        {{}, "", program},
        {{"frobnicate"}, "netwarden: unknown command \"frobnicate\"", program},
        {{"frobnicate", "--help"}, "netwarden: unknown command \"frobnicate\"", program},
        {{"inventory"}, "netwarden: missing command", inventory},
        {{"inventory", "frob"}, "netwarden: unknown command \"frob\"", inventory},
        {{"probe"}, "netwarden: missing argument", "Usage: netwarden [OPTIONS] probe NAME..."},
        {{"products", "extra"}, "netwarden: too many arguments", "Usage: netwarden [OPTIONS] products"},
        {{"inventory", "rescan", "a", "b"},
         "netwarden: too many arguments",
         "Usage: netwarden [OPTIONS] inventory rescan [PATH]"},
        {{"inventory", "list", "--folder", "Lab"},
         "netwarden: option --folder belongs to inventory import, scan network and scan subnet",
         "Usage: netwarden [OPTIONS] inventory list"},
        {{"scan"}, "netwarden: missing command", "Usage: netwarden [OPTIONS] scan COMMAND [ARGUMENTS]"},
        {{"scan", "network", "LAB", "--no-resolve"},
         "netwarden: option --no-resolve belongs to scan subnet",
         kNetworkUsage},
        {{"scan", "subnet", "10.0.0.0/24", "--erase"},
         "netwarden: option --erase belongs to scan network",
         kSubnetUsage},
        {{"scan", "subnet", "0.0.0.0/24"}, std::string("netwarden: ") + kNetworkAddressEmpty, kSubnetUsage},
        {{"scan", "subnet", "10.0.0.0", "0.0.0.0"}, std::string("netwarden: ") + kSubnetMaskEmpty, kSubnetUsage},
        {{"scan", "subnet", "10.0.0.0/0"}, std::string("netwarden: ") + kSubnetMaskEmpty, kSubnetUsage},
        {{"scan", "subnet", "10.0.0.9-10.0.0.1"}, std::string("netwarden: ") + kInvalidAddressRange, kSubnetUsage},
        {{"scan", "subnet", "10.0.0.0/33"},
         "netwarden: the prefix length after \"/\" must be a number of 0 to 32",
         kSubnetUsage},
        {{"scan", "subnet", "10.0.0.256/24"}, "netwarden: \"10.0.0.256\" is not an IPv4 address", kSubnetUsage},
        {{"scan", "subnet", "10.0.0.1"},
         "netwarden: give the range as A.B.C.D/BITS, as ADDRESS MASK or as FROM-TO",
         kSubnetUsage},
        {{"scan", "subnet", "10.0.0.1", "255.0.0.0", "x"}, "netwarden: too many arguments", kSubnetUsage},
        {{"scan", "subnet", "10.0.0.0/24", "--parallel", "8"},
         "netwarden: --parallel and --ports go with --fast",
         kSubnetUsage},
        {{"scan", "subnet", "10.0.0.0/24", "--fast", "--parallel", "0"},
         "netwarden: --parallel takes a number of 1 to 65536",
         kSubnetUsage},
        {{"scan", "subnet", "10.0.0.0/24", "--fast", "--parallel=65537"},
         "netwarden: --parallel takes a number of 1 to 65536",
         kSubnetUsage},
        {{"scan", "subnet", "10.0.0.0/24", "--fast", "--ports", "139,,445"},
         "netwarden: --ports takes port numbers of 1 to 65535 joined by commas",
         kSubnetUsage},
        {{"scan", "subnet", "10.0.0.0/24", "--fast", "--ports", "445,65536"},
         "netwarden: --ports takes port numbers of 1 to 65535 joined by commas",
         kSubnetUsage},
        {{"scan", "network", "LAB", "--fast"}, "netwarden: option --fast belongs to scan subnet", kNetworkUsage},
        {{"scan", "network", "LAB", "--wsd-wait", "0"},
         "netwarden: --wsd-wait takes milliseconds, 1 to 60000",
         kNetworkUsage},
        {{"scan", "network", "LAB", "--wsd-wait=60001"},
         "netwarden: --wsd-wait takes milliseconds, 1 to 60000",
         kNetworkUsage},
        {{"scan", "network", "LAB", "--wsd-wait", "2s"},
         "netwarden: --wsd-wait takes milliseconds, 1 to 60000",
         kNetworkUsage},
        {{"scan", "subnet", "10.0.0.0/24", "--wsd-wait", "500"},
         "netwarden: option --wsd-wait belongs to scan network",
         kSubnetUsage},
        {{"scan", "network", "LAB", "--folder", "A//B"}, "netwarden: the path has an empty name", kNetworkUsage},
        // The name becomes a folder's that the saved tree could not keep.
        {{"scan", "network", "CORP\\Sales"},
         "netwarden: The folder name \"CORP\\Sales\" contains characters which are not allowed. Characters which are "
         "not allowed include ~ ` ! @ # $ % ^ & * ( ) = + [ ] { } \\ | ; : ' \" , < > / and ?",
         kNetworkUsage},
        {{"probe", "pc1", "--user", "LAB\\ann", "--authfile", "f"},
         "netwarden: options --user and --authfile exclude each other",
         "Usage: netwarden [OPTIONS] probe NAME..."},
        {{"probe", "pc1", "--user", "LAB\\"},
         "netwarden: option --user needs a user name",
         "Usage: netwarden [OPTIONS] probe NAME..."},
        {{"probe", "--what"}, "netwarden: unknown option --what", "Usage: netwarden [OPTIONS] probe NAME..."},
        {{"probe", "pc1", ""}, "netwarden: an argument cannot be empty", "Usage: netwarden [OPTIONS] probe NAME..."},
        {{"inventory", "add-folder", "Lab//Sub"},
         "netwarden: the path has an empty name",
         "Usage: netwarden [OPTIONS] inventory add-folder PATH"},
        {{"inventory", "import", "f", "--folder", "A//B"},
         "netwarden: the path has an empty name",
         "Usage: netwarden [OPTIONS] inventory import FILE [--folder PATH]"},
        {{"inventory", "add-folder", "Lab/a\\b"},
         "netwarden: \"a\\b\" cannot be a folder name",
         "Usage: netwarden [OPTIONS] inventory add-folder PATH"},
        {{"inventory", "remove", "/"},
         "netwarden: the path names no node",
         "Usage: netwarden [OPTIONS] inventory remove PATH"},
        {{"policies", "pc1", "pc2"}, "netwarden: too many arguments", "Usage: netwarden [OPTIONS] policies NAME"},
        {{"services", "pc1", "restart", "Vantor"}, "netwarden: unknown services command \"restart\"", services},
        {{"services", "pc1", "start"}, "netwarden: missing argument", services},
        {{"services", "pc1", "stop", "Vantor", "now"}, "netwarden: too many arguments", services},
        {{"services", "pc1", "startup", "Vantor"}, "netwarden: missing argument", services},
        {{"services", "pc1", "startup", "Vantor", "boot"},
         "netwarden: the startup type is automatic, manual or disabled",
         services},
        {{"deploy"}, "netwarden: missing argument", deploy},
        {{"deploy", "pc1", "--file", "list"}, "netwarden: computer names and --file exclude each other", deploy},
        {{"deploy", "pc1", "--port", "65536"}, "netwarden: option --port takes a number from 0 to 65535", deploy},
        {{"deploy", "pc1", "--port=2x"}, "netwarden: option --port takes a number from 0 to 65535", deploy},
        {{"deploy", "pc1", "PC1 -inifile x"},
         "netwarden: \"PC1 -inifile x\" cannot be a computer name: it holds a blank, a quote or a control character.",
         deploy},
        {{"deploy", "--", "-inifile"},
         "netwarden: \"-inifile\" cannot be a computer name: it begins with \"-\".",
         deploy},
        {{"probe", "pc1", "--settings"},
         "netwarden: option --settings belongs to deploy",
         "Usage: netwarden [OPTIONS] probe NAME..."},
        {{"deploy-tool", "a", "b"}, "netwarden: too many arguments", "Usage: netwarden [OPTIONS] deploy-tool [PATH]"},
        {{"deploy-tool", "/opt/v/tool.exe"},
         "netwarden: the deployment tool's file is named Vantor.exe",
         "Usage: netwarden [OPTIONS] deploy-tool [PATH]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        EXPECT_EQ(host_.Run(c.arguments), 2);
        EXPECT_EQ(host_.Out(), "");
        const std::string expectedStart = c.reason.empty() ? c.help : c.reason + "\n\n" + c.help;
        EXPECT_EQ(host_.Err().substr(0, expectedStart.size()), expectedStart);
    }
    EXPECT_TRUE(host_.credentialsApplied.empty());
    EXPECT_EQ(platform_.Log().Count("RegConnectRegistry"), 0u);
}

TEST_F(RunNetwardenUsageTest, HelpGoesToStandardOutputAndRunsNothing) {
    ASSERT_EQ(host_.Run({"--help"}), 0);
    EXPECT_EQ(host_.Out(), ProgramUsage());
    for (const CommandSpec& command : AllCommands())
        EXPECT_NE(host_.Out().find(std::string(command.summary)), std::string::npos) << command.name;

    ASSERT_EQ(host_.Run({"inventory", "-h"}), 0);
    EXPECT_EQ(host_.Out(), GroupUsage("inventory"));
    EXPECT_EQ(host_.Out().find("products"), std::string::npos);

    for (const CommandSpec& command : AllCommands()) {
        Words arguments;
        if (!command.group.empty())
            arguments.emplace_back(command.group);
        arguments.emplace_back(command.name);
        arguments.emplace_back("--help");
        EXPECT_EQ(host_.Run(arguments), 0);
        EXPECT_EQ(host_.Out(), CommandUsage(command));
        EXPECT_EQ(host_.Err(), "");
    }
    EXPECT_TRUE(host_.credentialsApplied.empty());
    EXPECT_EQ(platform_.Log().Count("RegConnectRegistry"), 0u);
}

// Nobody is asked for a password for a command that does not reach other
// computers or cannot run.
TEST_F(RunNetwardenUsageTest, CredentialsAreSetUpOnlyForCommandsThatReachComputers) {
    EXPECT_EQ(host_.Run({"--user", "LAB\\ann", "products"}), 0);
    EXPECT_EQ(host_.Run({"--user", "LAB\\ann", "inventory", "add-folder", "A"}), 0);
    EXPECT_EQ(host_.Run({"--user", "LAB\\ann", "inventory", "import", "/nonexistent/list.txt"}), 1);
    EXPECT_EQ(host_.Run({"--user", "LAB\\ann", "inventory", "rescan", "B"}), 1);
    EXPECT_TRUE(host_.credentialsApplied.empty());

    platform_.Computer("PC1").Key(Hive::LocalMachine, "System\\CurrentControlSet\\Services");
    EXPECT_EQ(host_.Run({"probe", "PC1", "--user", "LAB\\ann", "--kerberos"}), 0);
    ASSERT_EQ(host_.credentialsApplied.size(), 1u);
    EXPECT_EQ(host_.credentialsApplied[0].user, "LAB\\ann");
    EXPECT_TRUE(host_.credentialsApplied[0].kerberos);

    // Credentials that cannot be used stop the run before any computer is reached.
    host_.acceptCredentials = false;
    const std::size_t connects = platform_.Log().Count("RegConnectRegistry");
    EXPECT_EQ(host_.Run({"probe", "PC1", "--authfile", "missing"}), 1);
    EXPECT_EQ(host_.Out(), "");
    EXPECT_EQ(platform_.Log().Count("RegConnectRegistry"), connects);
}

}  // namespace
}  // namespace vn::cli

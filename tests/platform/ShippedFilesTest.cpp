#include "platform/ShippedFiles.h"

#include <gtest/gtest.h>

#include <fstream>

#include "TempDirectory.h"

namespace vn {
namespace {

namespace fs = std::filesystem;

// An installed tree: prefix/bin/netwarden, with files laid out beside it and
// in the installed folders as each case says.
TEST(ShippedFilesTest, BesideTheProgramFirstThenTheInstalledFolderOfItsKind) {
    const struct {
        std::vector<const char*> present;  // files made under the prefix
        const char* wanted;
        ShippedKind kind;
        const char* found;  // under the prefix
    } cases[] = {
        {{"bin/VtrNetwarden.ini", "share/vantor-netwarden/VtrNetwarden.ini"},
         "VtrNetwarden.ini",
         ShippedKind::Data,
         "bin/VtrNetwarden.ini"},
        {{"share/vantor-netwarden/VtrNetwarden.ini"},
         "VtrNetwarden.ini",
         ShippedKind::Data,
         "share/vantor-netwarden/VtrNetwarden.ini"},
        {{"share/vantor-netwarden/en-US/Vantor.adml"},
         "en-US/Vantor.adml",
         ShippedKind::Data,
         "share/vantor-netwarden/en-US/Vantor.adml"},
        // Missing everywhere: the place beside the program, for the message.
        {{}, "VtrNetwarden.ini", ShippedKind::Data, "bin/VtrNetwarden.ini"},
        // Each kind has its own installed folder.
        {{"libexec/vantor-netwarden/VtrNetwarden.ini"}, "VtrNetwarden.ini", ShippedKind::Data, "bin/VtrNetwarden.ini"},
        {{"libexec/vantor-netwarden/netwarden-smb-helper"},
         "netwarden-smb-helper",
         ShippedKind::Helper,
         "libexec/vantor-netwarden/netwarden-smb-helper"},
        {{"bin/netwarden-smb-helper", "libexec/vantor-netwarden/netwarden-smb-helper"},
         "netwarden-smb-helper",
         ShippedKind::Helper,
         "bin/netwarden-smb-helper"},
        {{"share/vantor-netwarden/netwarden-smb-helper"},
         "netwarden-smb-helper",
         ShippedKind::Helper,
         "bin/netwarden-smb-helper"},
    };
    for (const auto& c : cases) {
        TempDirectory prefix;
        const fs::path root = prefix.Path();
        for (const char* file : c.present) {
            fs::create_directories((root / file).parent_path());
            std::ofstream(root / file) << "x";
        }
        EXPECT_EQ(FindShippedFile(root / "bin/netwarden", c.wanted, c.kind), root / c.found) << c.wanted;
    }
}

}  // namespace
}  // namespace vn

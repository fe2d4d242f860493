#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "credentials/IdentityOrder.h"
#include "platform/TempDirectory.h"
#include "support/MemoryKeyring.h"

namespace vn {
namespace {

using test::MemoryKeyring;

enum class FileState { Missing, Good, NamesNoUser };

// What the order chose: the source and name in use, whose password goes to
// the other computers, and the dialog's line (the file's path follows it).
struct Chosen {
    IdentitySource source;
    const char* identity;
    const char* user;
    const char* password;
    const char* description;
};

const Chosen kNobody{IdentitySource::None, "", "", "", "none: computers are examined anonymously"};
const Chosen kFromFile{IdentitySource::File, "FILEDOM\\fileuser", "fileuser", "file-pass",
                       "FILEDOM\\fileuser, from the credentials file "};
const Chosen kFromKeyring{IdentitySource::Keyring, "LAB\\keyuser", "keyuser", "key pass",
                          "LAB\\keyuser, from the keyring"};

struct OrderCase {
    const char* name;
    TicketState ticket;
    bool keyringEntry;
    const char* unreachable;  // the keyring's reason when it cannot be asked
    FileState file;
    Chosen chosen;
};

// The order of use: a ticket first (the stored password stays its
// fallback), then the keyring's entry, then the credentials file.
const OrderCase kOrder[] = {
    {"NothingAnywhere", {}, false, "", FileState::Missing, kNobody},
    {"FileAlone", {}, false, "", FileState::Good, kFromFile},
    {"KeyringBeforeFile", {}, true, "", FileState::Good, kFromKeyring},
    {"UnreachableKeyringFallsToFile", {}, true, "there is no session bus", FileState::Good, kFromFile},
    {"FileNamingNoUserIsNoIdentity", {}, false, "", FileState::NamesNoUser, kNobody},
    {"TicketFirstWithKeyringFallback",
     {true, "alice@LAB.EXAMPLE"},
     true,
     "",
     FileState::Good,
     {IdentitySource::Kerberos, "alice@LAB.EXAMPLE", "keyuser", "key pass",
      "the Kerberos ticket of alice@LAB.EXAMPLE"}},
    {"TicketWithoutReadablePrincipal",
     {true, ""},
     false,
     "",
     FileState::Missing,
     {IdentitySource::Kerberos, "", "", "", "a Kerberos ticket"}},
};

TEST(IdentityOrderTest, ChoosesByTheOrderOfUse) {
    for (const OrderCase& c : kOrder) {
        SCOPED_TRACE(c.name);
        TempDirectory directory;
        const std::string file = directory.File("credentials");
        if (c.file == FileState::Good)
            std::ofstream(file) << "username = FILEDOM\\fileuser\npassword = file-pass\n";
        else if (c.file == FileState::NamesNoUser)
            std::ofstream(file) << "password = file-pass\n";
        MemoryKeyring keyring;
        if (c.keyringEntry)
            keyring.entry = smb::SmbCredentials::FromPassword("LAB\\keyuser", "key pass", "");
        keyring.unreachable = c.unreachable;

        const ChosenIdentity chosen = ChooseStoredIdentity(c.ticket, keyring, file);

        EXPECT_EQ(chosen.inUse.source, c.chosen.source);
        EXPECT_EQ(chosen.inUse.name, c.chosen.identity);
        EXPECT_EQ(chosen.inUse.keyringWhy, c.unreachable);
        EXPECT_EQ(chosen.credentials.User(), c.chosen.user);
        EXPECT_EQ(chosen.credentials.Password(), c.chosen.password);
        EXPECT_EQ(chosen.credentials.UseKerberos(), c.ticket.exists);
        const std::string description = DescribeIdentity(chosen.inUse);
        EXPECT_EQ(description,
                  std::string(c.chosen.description) + (c.chosen.source == IdentitySource::File ? file : ""));
    }
}

}  // namespace
}  // namespace vn

#include <gtest/gtest.h>

#include "platform/Network.h"
#include "platform/Sid.h"
#include "platform/SystemErrorText.h"

namespace vn {
namespace {

TEST(SystemErrorTextTest, KnownCodesGiveWindowsTextWithLineBreak) {
    EXPECT_EQ(SystemErrorText(5), "Access is denied.\r\n");
    EXPECT_EQ(SystemErrorText(53), "The network path was not found.\r\n");
    EXPECT_EQ(SystemErrorText(1332), "No mapping between account names and security IDs was done.\r\n");
    EXPECT_EQ(SystemErrorText(259), "No more data is available.\r\n");
    // What a remote call that ran out of time reports.
    EXPECT_EQ(SystemErrorText(121), "The semaphore timeout period has expired.\r\n");
    // A malformed RPC answer, and a name the browser takes for no provider.
    EXPECT_EQ(SystemErrorText(1728), "A remote procedure call (RPC) protocol error occurred.\r\n");
    EXPECT_EQ(SystemErrorText(1204), "The specified network provider name is invalid.\r\n");
}

TEST(SystemErrorTextTest, RegistryAndProcessTextsKeepWindowsWording) {
    EXPECT_EQ(SystemErrorText(1018),
              "Illegal operation attempted on a registry key that has been marked for deletion.\r\n");
    EXPECT_EQ(SystemErrorText(193), "%1 is not a valid Win32 application.\r\n");
    EXPECT_EQ(SystemErrorText(267), "The directory name is invalid.\r\n");
}

TEST(SystemErrorTextTest, UnknownCodeGivesGenericText) {
    EXPECT_EQ(SystemErrorText(987654), "Unknown error (987654).\r\n");
    // The program's own codes have texts of their own.
    EXPECT_EQ(SystemErrorText(ERROR_BROWSE_LIST_TOO_LONG).find("Unknown error"), std::string::npos);
}

TEST(SidTest, StringFormMatchesWindows) {
    Sid sid;
    sid.identifierAuthority = 5;
    sid.subAuthorities = {21, 1004336348, 1177238915, 682003330, 512};
    EXPECT_EQ(ConvertSidToStringSid(sid), "S-1-5-21-1004336348-1177238915-682003330-512");
    sid.identifierAuthority = 0x010203040506;
    sid.subAuthorities = {1};
    EXPECT_EQ(ConvertSidToStringSid(sid), "S-1-0x010203040506-1");
}

TEST(FormatIPv4Test, FirstOctetIsMostSignificant) {
    EXPECT_EQ(FormatIPv4(0x0A010203), "10.1.2.3");
    EXPECT_EQ(FormatIPv4(0xFFFFFFFF), "255.255.255.255");
}

}  // namespace
}  // namespace vn

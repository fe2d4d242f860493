#include <gtest/gtest.h>

#include "inventory/ComputerReport.h"
#include "inventory/InventoryTreeBuilder.h"

namespace vn {
namespace {

TEST(ComputerReportTest, FailedComputerShowsTheErrorText) {
    ComputerRecord computer("pc1");
    computer.HasError = 1;
    computer.LastKnownIP = 0x0A000001;  // not shown for a failed computer
    auto report = MakeComputerReport(computer);
    ASSERT_TRUE(report);
    EXPECT_TRUE(report->IsError);
    EXPECT_EQ(report->Title, "pc1");
    EXPECT_EQ(report->Text, "Could not access the computer.\r\n");
    computer.ErrorString = "Access is denied.\r\n";
    EXPECT_EQ(MakeComputerReport(computer)->Text, "Could not access the computer.\r\nAccess is denied.\r\n");
}

TEST(ComputerReportTest, ComputerWithNothingKnown) {
    ComputerRecord computer("pc1");
    computer.OSVersion = "Unknown";
    auto report = MakeComputerReport(computer);
    ASSERT_TRUE(report);
    EXPECT_FALSE(report->IsError);
    EXPECT_EQ(report->Text, "\r\nNone of the examined products are installed on this computer.");
}

TEST(ComputerReportTest, FullReportListsAddressDescriptionVersionAndProducts) {
    const ProductDef vantor = test::MakeProduct("Vantor", "");
    const ProductDef kestrel = test::MakeProduct("Kestrel", "");
    auto computer = ComputerRecord::FromAddress(0xC0A8010A);
    EXPECT_EQ(computer->Name, "192.168.1.10");
    computer->Description = "Mail server";
    computer->OSVersion = "Windows 2000 Server 5.0";
    computer->InstalledProducts = {&vantor, &kestrel};
    EXPECT_EQ(MakeComputerReport(*computer)->Text,
              "IP Address: 192.168.1.10\r\n"
              "Description: Mail server\r\n"
              "OS Version: Windows 2000 Server 5.0\r\n"
              "\r\nInstalled remote access software:\r\n"
              " -Vantor\r\n"
              " -Kestrel");
}

TEST(ComputerReportTest, LongTextsAndFoldersAreHandled) {
    EXPECT_FALSE(MakeComputerReport(FolderNode("Lab")));
    ComputerRecord computer("pc1");
    computer.HasError = 1;
    computer.ErrorString = std::string(2000, 'e');  // longer than any fixed buffer
    EXPECT_EQ(MakeComputerReport(computer)->Text.size(), 32 + 2000);
}

}  // namespace
}  // namespace vn

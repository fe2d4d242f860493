#include <gtest/gtest.h>

#include <QPushButton>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "manage/ui/CGroupPolicy.h"
#include "manage/ui/PolicyTemplateFiles.h"
#include "platform/TempDirectory.h"
#include "support/ScriptedMessageBoxService.h"
#include "ui/HyperlinkLabel.h"

namespace vn {
namespace {

namespace fs = std::filesystem;

std::string FileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

class GroupPolicyDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(program_ / "en-US");
        for (const char* file : {"Vantor.adm", "Vantor.admx", "en-US/Vantor.adml"})
            fs::copy_file(fs::path(VN_POLICY_SOURCES) / file, program_ / file);
        desktop_.chooseFolder = [this](QWidget*, const std::string& start) {
            starts_.push_back(start);
            return chosen_;
        };
        desktop_.openDocument = [this](const std::string& path) {
            opened_.push_back(path);
            return openResult_;
        };
    }

    std::vector<std::pair<std::string, std::string>> Boxes() const {
        std::vector<std::pair<std::string, std::string>> boxes;
        for (const auto& box : boxes_.Boxes())
            boxes.emplace_back(box.caption, box.text);
        return boxes;
    }
    std::string ProgramDirectory() const { return program_.string() + "/"; }

    TempDirectory directory_;
    fs::path program_ = fs::path(directory_.Path()) / "bin";
    test::ScriptedMessageBoxService boxes_;
    GroupPolicyDesktop desktop_;
    std::string chosen_;
    std::vector<std::string> starts_;
    int openResult_ = 42;
    std::vector<std::string> opened_;
};

TEST_F(GroupPolicyDialogTest, SaveAdmPutsBothTemplatesInTheChosenFolderReplacingOldOnes) {
    chosen_ = directory_.File("policies");
    fs::create_directories(chosen_);
    std::ofstream(fs::path(chosen_) / "Vantor.adm") << "old";
    CGroupPolicy dialog(QStringLiteral("https://web.test/go.asp?page=systemadmin"), desktop_, nullptr,
                        ProgramDirectory());
    EXPECT_EQ(dialog.windowTitle(), "Vantor Group Policy");
    EXPECT_EQ(dialog.MoreInformationLink()->Url().toString(), "https://web.test/go.asp?page=systemadmin");
    dialog.findChild<QPushButton*>("saveAdm")->click();
    ASSERT_EQ(starts_.size(), 1u);
    for (const char* file : {"Vantor.adm", "Vantor.admx", "en-US/Vantor.adml"})
        EXPECT_EQ(FileText(fs::path(chosen_) / file), FileText(program_ / file)) << file;
    EXPECT_EQ(Boxes(), (std::vector<std::pair<std::string, std::string>>{
                           {"Info", "Vantor.adm has successfully been saved in your " + chosen_ + " directory."}}));
    EXPECT_EQ(boxes_.Boxes()[0].icon, MessageIcon::Information);

    chosen_.clear();  // cancelled
    dialog.SaveAdm();
    EXPECT_EQ(boxes_.Boxes().size(), 1u);
}

TEST_F(GroupPolicyDialogTest, SaveAdmStartsInTheDocumentsFolderWhenThereIsOneElseAtHome) {
    const std::string home = directory_.File("home");
    fs::create_directories(home);
    const QByteArray oldHome = qgetenv("HOME"), oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.c_str());
    qputenv("XDG_CONFIG_HOME", (home + "/.config").c_str());  // no user-dirs.dirs: Documents under home
    CGroupPolicy dialog(QString(), desktop_, nullptr, ProgramDirectory());
    dialog.SaveAdm();
    fs::create_directories(home + "/Documents");
    dialog.SaveAdm();
    qputenv("HOME", oldHome);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    EXPECT_EQ(starts_, (std::vector<std::string>{home, home + "/Documents"}));
}

TEST_F(GroupPolicyDialogTest, AMissingTemplateIsToldAndNothingIsSaved) {
    fs::remove(program_ / "Vantor.adm");
    chosen_ = directory_.File("policies");
    fs::create_directories(chosen_);
    CGroupPolicy dialog(QString(), desktop_, nullptr, ProgramDirectory());
    dialog.SaveAdm();
    EXPECT_EQ(Boxes(), (std::vector<std::pair<std::string, std::string>>{
                           {"Error", "Could not find Vantor.adm in " + ProgramDirectory() + " directory."},
                           {"Error", "Could not save Vantor.adm to " + chosen_ + " directory."}}));
    EXPECT_EQ(boxes_.Boxes()[1].icon, MessageIcon::Warning);
    EXPECT_FALSE(fs::exists(fs::path(chosen_) / "Vantor.adm"));
}

TEST_F(GroupPolicyDialogTest, PrintHandsTheGuideToTheViewerOrSaysWhyItCannot) {
    CGroupPolicy dialog(QString(), desktop_, nullptr, ProgramDirectory());
    dialog.findChild<QPushButton*>("print")->click();
    EXPECT_EQ(opened_, std::vector<std::string>{ProgramDirectory() + "VtrNetwarden_GroupPolicies.pdf"});
    EXPECT_TRUE(boxes_.Boxes().empty());
    for (int value : {31, 2}) {
        openResult_ = value;
        dialog.Print();
    }
    EXPECT_EQ(Boxes(), (std::vector<std::pair<std::string, std::string>>{
                           {"Vantor Netwarden",
                            "There is no application associated with the given file name extension. This error will "
                            "also be returned if you attempt to print a file that is not printable.\n\nThe policy "
                            "guide is " +
                                ProgramDirectory() + "VtrNetwarden_GroupPolicies.pdf."},
                           {"Vantor Netwarden", "The VtrNetwarden_GroupPolicies.pdf was not found."}}));
}

TEST(LaunchFailureTextTest, NamesTheFileWhereTheTextHasOne) {
    EXPECT_EQ(LaunchFailureText(5, "dsa.msc"), "The operating system denied access to dsa.msc");
    EXPECT_EQ(LaunchFailureText(11, "x"),
              "The .exe file is invalid (non-Microsoft Win32\u00AE .exe or error in .exe image).");
    EXPECT_EQ(LaunchFailureText(4, "x"), "");
}

}  // namespace
}  // namespace vn

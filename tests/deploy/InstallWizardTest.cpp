#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>

#include "deploy/ToolDirectory.h"
#include "deploy/ui/CInstallAddHostDlg.h"
#include "deploy/ui/CInstallComputersPage.h"
#include "deploy/ui/CInstallEditDlg.h"
#include "deploy/ui/CInstallMainDlg.h"
#include "deploy/ui/CInstallStatusPage.h"
#include "platform/RegistryValues.h"
#include "platform/TempDirectory.h"
#include "platform/local/LocalProcesses.h"
#include "support/FakePlatform.h"
#include "support/PlatformOverlay.h"
#include "support/ScriptedMessageBoxService.h"

namespace vn {
namespace {

using Lines = std::vector<std::string>;

// Runs the event loop until done() holds (or a generous safety limit passes).
bool ProcessEventsUntil(const std::function<bool()>& done) {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done() && std::chrono::steady_clock::now() < limit)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

// Entries as the Install command makes them: the name, the rest as new.
std::vector<InstallTarget> Named(const Lines& names) {
    std::vector<InstallTarget> targets;
    for (const std::string& name : names)
        targets.push_back(InstallTarget{name, "", 0, 0});
    return targets;
}

Lines RowNames(const CInstallComputersPage& page) {
    Lines names;
    for (const InstallTarget& target : page.Rows())
        names.push_back(target.hostName);
    return names;
}

class InstallWizardTest : public ::testing::Test {
protected:
    InstallWizardTest() {
        platform_.Use(processes_);
        fake_.LocalServices().AddHost("loopback-name", 0x7F000001);
        services_.runDialog = [this](QDialog& dialog) {
            if (fillDialog_)
                fillDialog_(dialog);
            dialog.accept();
            return dialog.result();
        };
        services_.chooseImportFile = [this](QWidget*) { return chosenFile_; };
        services_.chooseExportFile = [this](QWidget*) { return chosenFile_; };
    }

    void RegisterStandInTool() {
        std::filesystem::create_symlink(VN_STAND_IN_TOOL, directory_.File("Vantor.exe"));
        ASSERT_EQ(RecordToolProgram(fake_.registry(), directory_.File("Vantor.exe")), ERROR_SUCCESS);
    }

    static void Type(QDialog& dialog, const char* field, const QString& text) {
        dialog.findChild<QLineEdit*>(QString::fromLatin1(field))->setText(text);
    }

    test::FakePlatform fake_;
    LocalProcesses processes_;
    // The fake network and registry, with programs started for real.
    test::PlatformOverlay platform_{fake_};
    test::ScriptedMessageBoxService boxes_;
    TempDirectory directory_;
    InstallDialogServices services_;
    std::function<void(QDialog&)> fillDialog_;
    std::optional<QString> chosenFile_;
};

TEST_F(InstallWizardTest, GivenComputersAreListedReversedWithTheDestinationSetting) {
    struct Case {
        std::optional<std::string> setting;
        std::string path;
    };
    const Case cases[] = {{std::nullopt, "C:\\Program Files\\Vantor\\"}, {"D:\\Apps\\Vantor\\", "D:\\Apps\\Vantor\\"}};
    for (const Case& c : cases) {
        test::FakePlatform fake;
        if (c.setting)
            fake.Local()
                .Key(Hive::CurrentUser, "Software\\Vantor Netwarden\\Settings")
                .String("DefaultDestinationPath", *c.setting);
        std::vector<InstallTarget> targets = Named({"PC1", "PC2", "pc1", "PC3"});
        CInstallMainDlg wizard(fake, targets, nullptr, services_);
        CInstallComputersPage& page = *wizard.TargetsPage();
        EXPECT_EQ(RowNames(page), (Lines{"PC3", "PC2", "PC1"}));
        EXPECT_EQ(page.List()->topLevelItem(0)->text(1).toStdString(), c.path);
        EXPECT_EQ(page.List()->topLevelItem(0)->text(2), "2002");
        EXPECT_FALSE(page.AllChecked());
        EXPECT_EQ(wizard.findChild<QLabel*>("title")->text(), "Select the target computers for Vantor deployment.");
    }
    ASSERT_EQ(boxes_.Boxes().size(), 2u);
    EXPECT_EQ(boxes_.Boxes()[0].text, "The specified computer already exists");
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Error");
}

TEST_F(InstallWizardTest, TheAddDialogRefusesWhatCannotBeDeployedTo) {
    struct Case {
        QString host, path, port;
        std::string caption, message;  // empty: accepted
    };
    const Case cases[] = {
        {"PC1", "C:\\V\\", "x1", "Vantor Netwarden", "Please enter an integer."},
        {"PC1", "C:\\V\\", "65536", "Vantor Netwarden", "Please enter an integer between 0 and 65535."},
        {"", "", "2002", "Vantor Netwarden", "You must enter a Host Name and a Destination Path to continue."},
        {"", "C:\\V\\", "2002", "Vantor Netwarden", "You must enter a Host Name to continue."},
        {"PC1", "", "2002", "Vantor Netwarden", "You must enter a Destination Path to continue."},
        {"PC1 -inifile x", "C:\\V\\", "2002", "Error",
         "\"PC1 -inifile x\" cannot be a computer name: it holds a blank, a quote or a control character."},
        {"thispc", "C:\\V\\", "2002", "Error",
         "The computer running the Netwarden application cannot be added to the Vantor installation list."},
        {"loopback-name", "C:\\V\\", "2002", "Error",
         "The computer running the Netwarden application cannot be added to the Vantor installation list."},
        {"PC1", "C:\\V\\", " 65535", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host.toStdString() + "/" + c.port.toStdString());
        test::ScriptedMessageBoxService boxes;
        CInstallAddHostDlg dialog(platform_, "C:\\Default\\");
        Type(dialog, "hostName", c.host);
        Type(dialog, "destinationPath", c.path);
        Type(dialog, "port", c.port);
        dialog.accept();
        EXPECT_EQ(dialog.result(), c.message.empty() ? QDialog::Accepted : QDialog::Rejected);
        if (c.message.empty()) {
            EXPECT_TRUE(boxes.Boxes().empty());
            EXPECT_EQ(dialog.Target().port, 65535);
            EXPECT_EQ(dialog.Target().useLocalSettings, 1);
        } else {
            ASSERT_EQ(boxes.Boxes().size(), 1u);
            EXPECT_EQ(boxes.Boxes()[0].caption, c.caption);
            EXPECT_EQ(boxes.Boxes()[0].text, c.message);
        }
    }
}

// Both dialogs show the whole destination path from its drive on, not
// its end scrolled into a narrow field.
TEST_F(InstallWizardTest, TheDestinationPathFieldShowsTheWholePath) {
    const QString path = QStringLiteral("C:\\Program Files\\Vantor\\");
    CInstallAddHostDlg add(platform_, path.toStdString());
    CInstallEditDlg edit({"a"}, QStringLiteral("2002"), path);
    for (QDialog* dialog : {static_cast<QDialog*>(&add), static_cast<QDialog*>(&edit)}) {
        dialog->show();
        auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("destinationPath"));
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->text(), path);
        EXPECT_EQ(field->cursorPosition(), 0);
        EXPECT_GT(field->width(), field->fontMetrics().horizontalAdvance(path));
        dialog->hide();
    }
}

TEST_F(InstallWizardTest, TheEditDialogChecksPathAndPort) {
    const std::pair<QString, QString> refused[] = {{"2000", ""}, {"70000", "C:\\V"}, {"-1", "C:\\V"}};
    for (const auto& [port, path] : refused) {
        test::ScriptedMessageBoxService boxes;
        CInstallEditDlg dialog({"b", "a"}, port, path);
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].text, path.isEmpty() ? "You must enter a Destination Path to continue."
                                                        : "You must enter a valid port number to continue.");
    }
    for (const QString port : {"", "2000", " 12abc"}) {
        CInstallEditDlg dialog({"a"}, port, "C:\\V");
        dialog.accept();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << port.toStdString();
    }
}

TEST_F(InstallWizardTest, TheListAddsImportsEditsRemovesAndToggles) {
    CInstallComputersPage page(platform_, services_);
    page.SetDefaultPath("C:\\Default\\");

    // Import: blank lines skipped, names trimmed, the duplicate refused once.
    const std::string list = directory_.File("names.txt");
    std::ofstream(list) << "a\n\n \t \n  b  \nc\nA\n";
    chosenFile_ = QString::fromStdString(list);
    page.Import();
    EXPECT_EQ(RowNames(page), (Lines{"c", "b", "a"}));
    EXPECT_EQ(page.Rows()[0].port, 2000);
    EXPECT_EQ(page.Rows()[0].destinationPath, "C:\\Default\\");
    EXPECT_TRUE(page.AllChecked());
    ASSERT_EQ(boxes_.Boxes().size(), 1u);

    chosenFile_ = QString::fromStdString(directory_.File("missing.txt"));
    page.Import();
    ASSERT_EQ(boxes_.Boxes().size(), 2u);
    EXPECT_EQ(boxes_.Boxes()[1].text, "Could not open file \"" + directory_.File("missing.txt") + "\".");

    // Add: PC1 on top, with the settings box of the dialog unchecked here.
    fillDialog_ = [](QDialog& dialog) {
        Type(dialog, "hostName", "PC1");
        dialog.findChild<QCheckBox*>("useSettings")->setChecked(false);
    };
    page.Add();
    EXPECT_EQ(RowNames(page), (Lines{"PC1", "c", "b", "a"}));
    EXPECT_FALSE(page.AllChecked());
    fillDialog_ = [](QDialog& dialog) { Type(dialog, "hostName", "pc1"); };
    page.Add();
    EXPECT_EQ(boxes_.Boxes().back().text, "The specified computer already exists");
    EXPECT_EQ(page.Rows().size(), 4u);

    // A click on the row's image toggles it; one beside the image does not.
    page.resize(600, 300);
    QWidget* viewport = page.List()->viewport();
    const QRect cell = page.List()->visualItemRect(page.List()->topLevelItem(0));
    const int imageX = page.List()->header()->sectionPosition(3) + 6;
    for (const int x : {imageX + 100, imageX}) {
        const QPoint at(x, cell.center().y());
        QMouseEvent release(QEvent::MouseButtonRelease, at, viewport->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &release);
    }
    EXPECT_EQ(page.Rows()[0].useLocalSettings, 1);
    EXPECT_TRUE(page.AllChecked());

    // Edit: rows with different ports show an empty port field, which keeps them.
    page.List()->topLevelItem(0)->setSelected(true);
    page.List()->topLevelItem(1)->setSelected(true);
    QString shownPort = "unset";
    fillDialog_ = [&](QDialog& dialog) {
        shownPort = dialog.findChild<QLineEdit*>("port")->text();
        Type(dialog, "destinationPath", "E:\\");
        dialog.findChild<QCheckBox*>("useSettings")->setChecked(false);
    };
    page.Edit();
    EXPECT_EQ(shownPort, "");
    EXPECT_EQ(page.Rows()[0].port, 2002);
    EXPECT_EQ(page.Rows()[1].port, 2000);
    EXPECT_EQ(page.List()->topLevelItem(1)->text(1), "E:\\");
    EXPECT_FALSE(page.AllChecked());

    // The header toggles all; Remove asks first.
    page.ToggleAll();
    EXPECT_TRUE(page.AllChecked());
    EXPECT_EQ(page.Rows()[1].useLocalSettings, 1);
    page.Remove();  // answered No
    EXPECT_EQ(page.Rows().size(), 4u);
    EXPECT_EQ(boxes_.Boxes().back().text, "Are you sure you want the remove the selected computer(s)?");
    boxes_.QueueAnswer(MessageAnswer::Yes);
    page.Remove();
    EXPECT_EQ(RowNames(page), (Lines{"b", "a"}));

    // Next writes the rows from the top.
    std::vector<InstallTarget> targets;
    ASSERT_TRUE(page.Next(targets));
    EXPECT_EQ(targets[0].hostName, "b");
    CInstallComputersPage empty(platform_, services_);
    EXPECT_FALSE(empty.Next(targets));
    EXPECT_EQ(boxes_.Boxes().back().caption, "No target computers specifed");
}

TEST_F(InstallWizardTest, ARunShowsTheToolLinesLiveAndExportsThem) {
    RegisterStandInTool();
    std::vector<InstallTarget> targets = Named({"failing", "lines"});
    // The wizards stay hidden: a window of their size is painted with image
    // conversions on Qt's thread pool, which the thread sanitizer cannot follow.
    CInstallMainDlg wizard(platform_, targets, nullptr, services_);
    int finished = 0;
    QObject::connect(&wizard, &QDialog::finished, [&finished] { ++finished; });
    auto* close = wizard.findChild<QPushButton*>("close");
    auto* exportButton = wizard.findChild<QPushButton*>("export");
    wizard.Next();
    EXPECT_EQ(wizard.CurrentPage(), CInstallMainDlg::kReadyPage);
    wizard.Back();
    wizard.Next();
    wizard.Next();
    EXPECT_EQ(wizard.findChild<QLabel*>("title")->text(), "Installing Vantor on 2 computer(s)...");
    ASSERT_TRUE(ProcessEventsUntil([&] { return !wizard.IsRunning() && close->text() == "Close"; }));
    EXPECT_TRUE(exportButton->isEnabled());
    EXPECT_EQ(wizard.findChild<QLabel*>("computerLine")->text(), "Vantor was installed on 1 computer(s).");
    EXPECT_FALSE(wizard.findChild<QLabel*>("errorNote")->isHidden());
    EXPECT_TRUE(wizard.findChild<QLabel*>("currentLabel")->isHidden());
    EXPECT_EQ(wizard.height(), 230);

    wizard.ToggleDetails();
    EXPECT_GE(wizard.height(), 400);
    EXPECT_FALSE(wizard.findChild<QWidget*>("details")->isHidden());

    chosenFile_ = QString::fromStdString(directory_.File("details.txt"));
    wizard.Export();
    std::ifstream exported(directory_.File("details.txt"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(exported)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text,
              "args [install] [-computer] [lines] [-port] [2002] [-path] [C:\\Program Files\\Vantor]\r\n"
              "one\r\ntwo\r\nthree\r\n"
              "args [install] [-computer] [failing] [-port] [2002] [-path] [C:\\Program Files\\Vantor]\r\n"
              "Error 53: The network path was not found.\r\n");
    EXPECT_TRUE(boxes_.Boxes().empty());

    // A file that cannot be written is named with the reason.
    struct Failure {
        std::string path;
        std::string reason;
    };
    const Failure failures[] = {
        {directory_.File("missing") + "/details.txt", "The system cannot find the path specified."},
        {directory_.Path(), "Access is denied."},
    };
    for (const Failure& f : failures) {
        chosenFile_ = QString::fromStdString(f.path);
        wizard.Export();
        ASSERT_FALSE(boxes_.Boxes().empty());
        EXPECT_EQ(boxes_.Boxes().back().text, "Could not open file \"" + f.path + "\". Error message: " + f.reason);
        EXPECT_EQ(boxes_.Boxes().back().icon, MessageIcon::Stop);
    }
    wizard.Close();
    EXPECT_EQ(finished, 1);
}

// "flood" prints 2,500 lines with an error at the 1,500th; the list keeps
// 1,000 entries from each end of that computer's part, the next computer's
// part whole, and the error note still tells of the error left out.
TEST_F(InstallWizardTest, EachComputersDetailsKeepTheirFirstAndLastEntries) {
    RegisterStandInTool();
    std::vector<InstallTarget> targets = Named({"lines", "flood"});
    CInstallMainDlg wizard(platform_, targets, nullptr, services_);
    wizard.Next();
    wizard.Next();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !wizard.IsRunning(); }));
    static_assert(CInstallStatusPage::kKeptEntries == 1000);
    Lines expected{"args [install] [-computer] [flood] [-port] [2002] [-path] [C:\\Program Files\\Vantor]"};
    for (int i = 1; i < 1000; ++i)
        expected.push_back("line " + std::to_string(i));
    expected.emplace_back("... 501 line(s) left out ...");
    for (int i = 1501; i <= 2500; ++i)
        expected.push_back("line " + std::to_string(i));
    for (const char* line : {"args [install] [-computer] [lines] [-port] [2002] [-path] [C:\\Program Files\\Vantor]",
                             "one", "two", "three"})
        expected.emplace_back(line);
    EXPECT_EQ(wizard.StatusPage()->DetailLines(), expected);
    EXPECT_FALSE(wizard.findChild<QLabel*>("errorNote")->isHidden());
    EXPECT_EQ(wizard.findChild<QLabel*>("computerLine")->text(), "Vantor was installed on 1 computer(s).");
}

// The page alone, fed a target's entries in parts with a look at the list
// after each: whatever the parts, the list holds the first and the last
// 1,000 entries with the count of those between, and the next target's part
// follows whole.
TEST(InstallStatusPageTest, TheDetailsKeepTheirBoundWhateverTheParts) {
    const std::vector<int> partsOf[] = {{2000}, {2001}, {2500}, {1010, 1500}, {1, 1999, 1, 499}, {700, 700, 700, 700}};
    for (const std::vector<int>& parts : partsOf) {
        CInstallStatusPage page;
        page.BeginRun(2);
        page.SetComputerLine("Computer 1 of 2 (a)");
        int total = 0;
        for (const int part : parts) {
            std::string text;
            for (int i = 0; i < part; ++i)
                text += (i == 0 ? "e" : "\ne") + std::to_string(++total);
            page.AddDetails(text);
            (void)page.DetailLines();  // what the list shows now, so the next part meets it
        }
        page.SetComputerLine("Computer 2 of 2 (b)");
        page.AddDetails("next");
        Lines expected;
        for (int i = 1; i <= total; ++i) {
            if (i > 1000 && i <= total - 1000)
                continue;
            if (i == total - 999 && total > 2000)
                expected.push_back("... " + std::to_string(total - 2000) + " line(s) left out ...");
            expected.push_back("e" + std::to_string(i));
        }
        expected.emplace_back("next");
        EXPECT_EQ(page.DetailLines(), expected) << total;
    }
}

TEST_F(InstallWizardTest, StoppingAsksBetweenRunsAndAHangingToolCanBeEndedToClose) {
    RegisterStandInTool();
    struct Case {
        std::string host;
        const char* waitFor;
        Lines boxes;
    };
    const Case cases[] = {
        // Cancel during a run: the question once the tool has ended.
        {"slow", "waiting", {"Are you sure you want to stop installation?"}},
        // Escape twice while the tool hangs: the offer to end it, then the wizard closes.
        {"forever",
         "hanging",
         {"The deployment tool has not ended yet. Do you want to end it now and close the wizard?"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.host);
        std::filesystem::remove(directory_.File("go"));
        test::ScriptedMessageBoxService boxes;
        boxes.QueueAnswer(MessageAnswer::Yes);
        std::vector<InstallTarget> targets = Named({"PC2", c.host});
        CInstallMainDlg wizard(platform_, targets, nullptr, services_);
        int finished = 0;
        QObject::connect(&wizard, &QDialog::finished, [&finished] { ++finished; });
        wizard.Next();
        wizard.Next();
        CInstallStatusPage& page = *wizard.StatusPage();
        auto seen = [&] {
            const Lines lines = page.DetailLines();
            return std::find(lines.begin(), lines.end(), c.waitFor) != lines.end();
        };
        ASSERT_TRUE(ProcessEventsUntil(seen));
        if (c.host == "slow") {
            wizard.Close();
            std::ofstream(directory_.File("go")).flush();
        } else {
            wizard.reject();
            wizard.reject();
        }
        const int closes = c.host == "slow" ? 0 : 1;
        ASSERT_TRUE(ProcessEventsUntil([&] { return !wizard.IsRunning() && finished == closes; }));
        EXPECT_EQ(page.DetailLines().back(), "Cancelled.");
        Lines texts;
        for (const auto& box : boxes.Boxes())
            texts.push_back(box.text);
        EXPECT_EQ(texts, c.boxes);
        EXPECT_EQ(boxes.Boxes()[0].icon, c.host == "slow" ? MessageIcon::None : MessageIcon::Question);
        // PC2 was never reached.
        for (const std::string& line : page.DetailLines())
            EXPECT_EQ(line.find("PC2"), std::string::npos);
    }
}

}  // namespace
}  // namespace vn

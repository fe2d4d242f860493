#include "app/commands/ScanCommands.h"

#include <memory>

#include "app/commands/FileChooser.h"
#include "app/commands/FocusTreeOnExit.h"
#include "app/commands/ScanGuard.h"
#include "app/commands/SelectionJobs.h"
#include "app/commands/SubsystemLaunchers.h"
#include "app/context/MainWindowContext.h"
#include "app/dialogs/CAddComputer.h"
#include "app/dialogs/CScanDlg.h"
#include "core/MessageBoxService.h"
#include "detect/ComputerScanWorker.h"
#include "inventory/ComputerListFile.h"

namespace vn {
namespace {

// The lines of a list file that were skipped for a name no computer can have.
std::string SkippedLinesText(const std::string& path, const std::vector<std::string>& skipped) {
    constexpr std::size_t kShown = 10;
    std::string text = "Some lines of \"" + path + "\" were skipped:";
    for (std::size_t i = 0; i < skipped.size() && i < kShown; ++i)
        text += "\n" + skipped[i];
    if (skipped.size() > kShown)
        text += "\n... and " + std::to_string(skipped.size() - kShown) + " more.";
    return text;
}

}  // namespace

void ScanCommands::StartComputerScan(std::vector<ScanEntry> entries) {
    auto job =
        std::make_unique<ComputerScanJob>(context_.WorkerStatusSink(), context_.WorkerTreeSink(), context_.Catalogue());
    job->Entries = std::move(entries);
    context_.ComputerScan().Start(std::move(job));
}

void ScanCommands::AddComputer() {
    FocusTreeOnExit focus(context_);
    if (ScanInProgress(context_))
        return;
    CAddComputer dialog(context_.DialogParent());
    if (dialog.exec() != QDialog::Accepted)
        return;
    StartComputerScan({{dialog.Name(), context_.SelectedFolder()}});
}

void ScanCommands::Rescan() {
    FocusTreeOnExit focus(context_);
    if (ScanInProgress(context_))
        return;
    const std::vector<InventoryNode*> selection = context_.SelectedNodes();
    if (selection.empty()) {
        OpenScanChooser();
        return;
    }
    std::vector<ScanEntry> entries = RescanEntries(context_.Model(), selection);
    if (!entries.empty())
        StartComputerScan(std::move(entries));
}

void ScanCommands::ImportComputerList() {
    FocusTreeOnExit focus(context_);
    if (ScanInProgress(context_))
        return;
    const std::optional<QString> chosen = files_->ChooseImportFile(context_.DialogParent());
    if (!chosen)
        return;
    const QString& path = *chosen;
    FolderNode* folder = context_.SelectedFolder();
    std::vector<std::string> names;
    std::vector<std::string> skipped;
    if (!ReadComputerList(path.toStdString(), names, &skipped)) {
        ShowMessage(kAppCaption, "Could not open file \"" + path.toStdString() + "\".", MessageIcon::Warning);
        return;
    }
    if (!skipped.empty())
        ShowMessage(kAppCaption, SkippedLinesText(path.toStdString(), skipped), MessageIcon::Warning);
    StartComputerScan(EntriesInFolder(names, folder));
}

void ScanCommands::ScanNetwork() {
    FocusTreeOnExit focus(context_);
    if (!launchers_.ScanNetwork || ScanInProgress(context_))
        return;
    launchers_.ScanNetwork();
}

void ScanCommands::ScanSubnet() {
    FocusTreeOnExit focus(context_);
    if (!launchers_.ScanSubnet || ScanInProgress(context_))
        return;
    launchers_.ScanSubnet();
}

void ScanCommands::ScanChooser() { OpenScanChooser(); }

void ScanCommands::OpenScanChooser() {
    CScanDlg chooser(static_cast<bool>(launchers_.ScanNetwork), static_cast<bool>(launchers_.ScanSubnet),
                     context_.DialogParent());
    chooser.exec();
    switch (chooser.Chosen()) {
    case CScanDlg::Choice::ScanNetwork: ScanNetwork(); break;
    case CScanDlg::Choice::ScanSubnet: ScanSubnet(); break;
    case CScanDlg::Choice::None: break;
    }
}

}  // namespace vn

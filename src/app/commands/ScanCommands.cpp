#include "app/commands/ScanCommands.h"

#include <memory>

#include "app/MainWindowContext.h"
#include "app/commands/CAddComputer.h"
#include "app/commands/CScanDlg.h"
#include "app/commands/FileChooser.h"
#include "app/commands/FocusTreeOnExit.h"
#include "app/commands/ScanGuard.h"
#include "app/commands/SelectionJobs.h"
#include "app/commands/SubsystemLaunchers.h"
#include "detect/ComputerScanWorker.h"
#include "inventory/ComputerListFile.h"
#include "ui/MessageBoxService.h"

namespace vn {

void ScanCommands::StartComputerScan(std::vector<ScanEntry> entries) {
    auto job = std::make_unique<ComputerScanJob>(context_.WorkerStatusSink(), context_.WorkerTreeSink(),
                                                 context_.Catalogue());
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
    const QString path = *chosen;
    FolderNode* folder = context_.SelectedFolder();
    std::vector<std::string> names;
    if (!ReadComputerList(path.toStdString(), names)) {
        ShowMessage(kAppCaption, "Could not open file \"" + path.toStdString() + "\".", MessageIcon::Warning);
        return;
    }
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

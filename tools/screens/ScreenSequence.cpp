#include "ScreenSequence.h"

#include <cstdio>

#include "SampleInventory.h"
#include "ScreenRenderer.h"
#include "app/CColumnTreeCtrl.h"
#include "app/CMainFrame.h"
#include "app/CMainTreeView.h"
#include "app/context/CommandIds.h"
#include "app/details/CDescriptionComputer.h"
#include "app/details/DetailsPane.h"
#include "core/StatusSink.h"
#include "inventory/InventoryModel.h"

namespace vn {

void ScreenSequence::Save(const QString& name, int expectedKey) {
    ScreenRenderer::Settle();
    if (frame_.Details().CurrentKey() != expectedKey) {
        std::fprintf(stderr, "netwarden_screens: %s shows details view %d instead of %d\n", qPrintable(name),
                     frame_.Details().CurrentKey(), expectedKey);
        ++failures_;
        return;
    }
    if (!renderer_.Save(name))
        ++failures_;
}

void ScreenSequence::Select(InventoryNode* node) { frame_.TreeView().Tree().MakeSelectedCaret(node); }

void ScreenSequence::Run(ProductCatalogue& catalogue) {
    Save(QStringLiteral("blank-35"), details::kBlank);

    const SampleInventory sample = SampleInventory::Build(frame_.Model(), catalogue);
    CColumnTreeCtrl& tree = frame_.TreeView().Tree();
    tree.ClearMarks();
    tree.setCurrentIndex(QModelIndex());
    frame_.ShowDetailsView(details::kNoSelection);
    Save(QStringLiteral("no-selection-36"), details::kNoSelection);

    Select(sample.workstation);
    Save(QStringLiteral("computer-31"), details::kComputer);

    // The taller computer view is never chosen by the tree; it is given the
    // server by hand.
    Select(sample.server);
    static_cast<CDescriptionComputer2*>(frame_.Details().View(details::kComputer2))->ShowNode(*sample.server);
    frame_.ShowDetailsView(details::kComputer2);
    Save(QStringLiteral("computer2-32"), details::kComputer2);

    Select(sample.headOffice);
    Save(QStringLiteral("folder-33"), details::kFolder);

    Select(sample.accessDenied);
    Save(QStringLiteral("error-34"), details::kError);

    SaveProgressPanel(sample);
    SaveContextMenu(sample);
}

void ScreenSequence::SaveProgressPanel(const SampleInventory& sample) {
    Select(sample.workstation);
    StatusSink& status = frame_.TreeView().Status();
    status.Reset();
    status.SetRange(9);
    status.SetPos(4);
    status.SetText("Searching for product \"%s\" on computer %s...", "Kestrel", sample.workstation->Name);
    status.Show(true);
    Save(QStringLiteral("progress"), details::kComputer);
    status.Show(false);
}

void ScreenSequence::SaveContextMenu(const SampleInventory& sample) {
    Select(sample.workstation);
    CColumnTreeCtrl& tree = frame_.TreeView().Tree();
    const QPoint row = tree.visualRect(frame_.Model().IndexOf(sample.workstation)).center();
    if (!renderer_.SaveWithPopup(QStringLiteral("context-menu"), [&] { tree.RequestContextMenu(row, false); }))
        ++failures_;
}

}  // namespace vn

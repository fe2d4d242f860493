#include "WindowLoadTiming.h"

#include <QCoreApplication>

#include "app/CColumnTreeCtrl.h"
#include "app/CMainFrame.h"
#include "app/CMainTreeView.h"
#include "catalogue/ProductCatalogue.h"
#include "inventory/InventoryModel.h"
#include "platform/system/SystemPlatform.h"

void ShowWindowWithTheTree(vn::ProductCatalogue& catalogue, std::size_t& topLevelRows) {
    vn::SystemPlatform platform;  // finds the hives through the environment
    vn::MainFrameOptions options;
    options.LoadCatalogue = false;
    vn::CMainFrame frame(platform, catalogue, options);
    frame.show();
    QCoreApplication::processEvents();
    // Lays out and paints the rows in view now rather than on the next event.
    frame.TreeView().Tree().viewport()->repaint();
    topLevelRows = static_cast<std::size_t>(frame.Model().rowCount());
}

#include "app/commands/CMainToolBar.h"

#include <QAction>
#include <algorithm>

#include "app/commands/CommandTable.h"
#include "app/context/CommandIds.h"
#include "ui/BitmapButton.h"

namespace vn {
namespace {

constexpr int kFormWidth = 2000;
constexpr int kHeight = 22;

// Where each button stands on the form; caption, tip and picture are its command's.
struct ToolButtonPlace {
    int id;
    int x;
    int width;
};

constexpr ToolButtonPlace kButtons[] = {
    {cmd::kScan, 0, 55},
    {cmd::kRescan, 55, 70},
    {cmd::kInstall, 125, 65},
    {cmd::kExportComputerList, 196, 60},
    {cmd::kImportComputerList, 262, 60},
    {cmd::kAddComputer, 328, 99},
    {cmd::kDisableEnableServices, 433, 144},
};

}  // namespace

CMainToolBar::CMainToolBar(const std::function<QAction*(int)>& actionOf, QWidget* parent) : QWidget(parent) {
    setFixedSize(kFormWidth, kHeight);
    // The designed widths were measured for a narrower font than most Linux
    // desktops use: a caption that would not fit widens its button, and the
    // buttons after it move right by as much, keeping the designed gaps.
    int shift = 0;
    for (const ToolButtonPlace& place : kButtons) {
        QAction* action = actionOf(place.id);
        auto* button = new BitmapButton(FindCommandRow(place.id)->picture, action->iconText(), this);
        button->setDefaultAction(action);
        const int width = std::max(place.width, button->sizeHint().width());
        button->setGeometry(place.x + shift, 0, width, kHeight);
        shift += width - place.width;
    }
}

BitmapButton* CMainToolBar::Button(int commandId) const {
    for (BitmapButton* button : findChildren<BitmapButton*>(Qt::FindDirectChildrenOnly)) {
        if (button->defaultAction() != nullptr && button->defaultAction()->data().toInt() == commandId)
            return button;
    }
    return nullptr;
}

}  // namespace vn

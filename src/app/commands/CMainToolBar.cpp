#include "app/commands/CMainToolBar.h"

#include <algorithm>

#include "app/CommandIds.h"
#include "app/commands/CommandTexts.h"
#include "ui/BitmapButton.h"
#include "ui/PictureIds.h"

namespace vn {
namespace {

constexpr int kFormWidth = 2000;
constexpr int kHeight = 22;

struct ToolButtonText {
    int id;
    const char* caption;
    const char* tip;
    int picture;
    int x;
    int width;
};

constexpr ToolButtonText kButtons[] = {
    {cmd::kScan, "Scan", "Scan Network", picture::kToolScan, 0, 55},
    {cmd::kRescan, "Rescan", "Refresh Scan Information", picture::kToolRescan, 55, 70},
    {cmd::kInstall, "Install", "Install Vantor", picture::kToolInstall, 125, 65},
    {cmd::kExportComputerList, "Export", "Export Tree", picture::kToolExport, 196, 60},
    {cmd::kImportComputerList, "Import", "Scan Imported Computers", picture::kToolImport, 262, 60},
    {cmd::kAddComputer, "Add computer", "Scan Single Computer", picture::kToolAddComputer, 328, 99},
    {cmd::kDisableEnableServices, "Disable/Enable Services", "Disable/Enable Remote Access Services",
     picture::kToolServices, 433, 144},
};

}  // namespace

CMainToolBar::CMainToolBar(QWidget* parent) : QWidget(parent) {
    setFixedSize(kFormWidth, kHeight);
    // The designed widths were measured for a narrower font than most Linux
    // desktops use: a caption that would not fit widens its button, and the
    // buttons after it move right by as much, keeping the designed gaps.
    int shift = 0;
    for (const ToolButtonText& text : kButtons) {
        auto* button = new BitmapButton(text.picture, QString::fromUtf8(text.caption), this);
        button->SetCommandId(text.id);
        button->setProperty("commandId", text.id);
        button->setToolTip(QString::fromUtf8(text.tip));
        const std::string_view prompt = CommandPrompt(text.id);
        button->setStatusTip(QString::fromUtf8(prompt.data(), static_cast<qsizetype>(prompt.size())));
        const int width = std::max(text.width, button->sizeHint().width());
        button->setGeometry(text.x + shift, 0, width, kHeight);
        shift += width - text.width;
        connect(button, &BitmapButton::commandTriggered, this, &CMainToolBar::commandTriggered);
    }
}

BitmapButton* CMainToolBar::Button(int commandId) const {
    for (BitmapButton* button : findChildren<BitmapButton*>(Qt::FindDirectChildrenOnly)) {
        if (button->CommandId() == commandId)
            return button;
    }
    return nullptr;
}

}  // namespace vn

#include "app/commands/HelpCommands.h"

#include "app/context/MainWindowContext.h"
#include "app/dialogs/AboutDialog.h"
#include "app/dialogs/CDetectInfoDlg.h"
#include "app/dialogs/CHelpDialog.h"
#include "app/dialogs/HelpWindow.h"
#include "app/dialogs/MakerPages.h"
#include "platform/Platform.h"

namespace vn {
namespace {

QString PageUrl(MainWindowContext& context, std::string_view page) {
    return QString::fromStdString(MakerPageUrl(context.GetPlatform().registry(), page));
}

}  // namespace

HelpCommands::~HelpCommands() { delete help_.data(); }

HelpWindow* HelpCommands::Window() const { return help_.data(); }

void HelpCommands::About() {
    AboutDialog dialog(PageUrl(context_, kHomePage), context_.DialogParent());
    dialog.exec();
}

void HelpCommands::Support() {
    CHelpDialog dialog(PageUrl(context_, kSupportPage), context_.DialogParent());
    dialog.exec();
}

void HelpCommands::WhatNetwardenDetects() {
    CDetectInfoDlg dialog(CatalogueFilePath(), context_.DialogParent());
    dialog.exec();
}

void HelpCommands::GettingStarted() {
    HelpWindow* help = help_.data();
    if (help == nullptr) {
        help = new HelpWindow(context_.DialogParent());
        help_ = help;
    }
    help->ShowStartPage();
}

}  // namespace vn

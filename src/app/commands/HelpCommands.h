#pragma once

#include <QPointer>

namespace vn {

class HelpWindow;
class MainWindowContext;

// The Help menu: about, support, the detected products and the program's
// help, which stays open beside the main window once shown.
class HelpCommands {
public:
    explicit HelpCommands(MainWindowContext& context) : context_(context) {}
    ~HelpCommands();
    HelpCommands(const HelpCommands&) = delete;
    HelpCommands& operator=(const HelpCommands&) = delete;

    void About();
    void Support();
    void WhatNetwardenDetects();
    void GettingStarted();

    HelpWindow* Window() const;

private:
    MainWindowContext& context_;
    QPointer<HelpWindow> help_;
};

}  // namespace vn

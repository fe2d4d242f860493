#pragma once

namespace vn {

class ActionCommands;
class HelpCommands;
class MainWindowContext;
class ScanCommands;
class TreeCommands;

// What the command table's handlers carry the commands out with.
struct CommandHandlers {
    MainWindowContext& context;
    ScanCommands& scans;
    TreeCommands& tree;
    ActionCommands& actions;
    HelpCommands& help;
};

}  // namespace vn

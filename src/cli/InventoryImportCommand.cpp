#include "cli/Commands.h"
#include "cli/InventoryChange.h"
#include "cli/InventoryPath.h"
#include "inventory/ComputerListFile.h"

namespace vn::cli {
namespace {

// A computer can be kept when its name can be a key name and no sibling
// folder has that name (their keys would be one).
bool CanKeepComputer(const InventoryModel& model, const FolderNode* folder, const std::string& name) {
    return IsStorableKeyName(name) && FindChildFolder(model, folder, name) == nullptr;
}

int LeftOut(CommandContext& context, const std::string& name) {
    return context.Fail("\"" + name +
                        "\" is left out: it cannot be kept in the inventory beside a folder of that "
                        "name, or as a registry key name");
}

}  // namespace

int RunInventoryImport(CommandContext& context) {
    InventoryPath folderPath;
    if (const std::string problem = FolderOptionProblem(context, folderPath); !problem.empty())
        return context.BadUsage(problem);
    const std::string& file = context.operands.at(0);
    std::vector<std::string> names;
    std::vector<std::string> skipped;
    if (!ReadComputerList(file, names, &skipped))
        return context.Fail("Could not open file \"" + file + "\".");
    int result = kExitDone;
    for (const std::string& problem : skipped) {
        std::string message = file;
        message += ": ";
        message += problem;
        result = context.Fail(message);
    }
    if (!context.UseCredentials())
        return kExitIncomplete;

    // The computers are examined into the tree as it is now...
    InventoryStore store(context.host.platform(), context.host.catalogue());
    if (!LoadForChange(context, store))
        return kExitIncomplete;
    std::vector<FolderNode*> created;
    FolderNode* folder = nullptr;
    if (!MakeFolderForChange(context, store.Model(), folderPath, folder, created))
        return kExitIncomplete;
    std::vector<ScanEntry> entries;
    for (std::string& name : names) {
        if (CanKeepComputer(store.Model(), folder, name))
            entries.push_back(ScanEntry{std::move(name), folder});
        else
            result = LeftOut(context, name);
    }
    std::vector<ExaminedComputer> examined;
    result = WorseStatus(result, ScanIntoTree(context, store, std::move(entries), examined));

    // ...and their records go into the tree as it is saved when they are done.
    bool refused = false;
    const int saved = ChangeSavedTree(context, store, [&](InventoryModel& model) {
        FolderNode* target = nullptr;
        std::vector<FolderNode*> made;
        if (!MakeFolderForChange(context, model, folderPath, target, made)) {
            refused = true;
            return false;
        }
        for (ExaminedComputer& computer : examined) {
            if (CanKeepComputer(model, target, computer.record->Name)) {
                model.InsertNode(target, std::move(computer.record), false);
            } else {
                LeftOut(context, computer.record->Name);  // a folder of its name came meanwhile
                refused = true;
            }
        }
        return true;
    });
    return WorseStatus(WorseStatus(result, saved), refused ? kExitIncomplete : kExitDone);
}

}  // namespace vn::cli

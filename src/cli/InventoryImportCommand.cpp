#include "cli/Commands.h"
#include "cli/InventoryChange.h"
#include "cli/InventoryPath.h"
#include "inventory/ComputerListFile.h"
#include "inventory/InventoryWriter.h"

namespace vn::cli {
namespace {

// A computer can be kept when its name can be a key name and no sibling
// folder has that name (their keys would be one).
bool CanKeepComputer(const InventoryModel& model, const FolderNode* folder, const std::string& name) {
    return IsStorableKeyName(name) && FindChildFolder(model, folder, name) == nullptr;
}

}  // namespace

int RunInventoryImport(CommandContext& context) {
    InventoryPath folderPath;
    if (const std::string problem = FolderOptionProblem(context, folderPath); !problem.empty())
        return context.BadUsage(problem);
    const std::string& file = context.operands.at(0);
    std::vector<std::string> names;
    if (!ReadComputerList(file, names))
        return context.Fail("Could not open file \"" + file + "\".");
    if (!context.UseCredentials())
        return kExitIncomplete;

    InventoryStore store(context.host.platform(), context.host.catalogue());
    if (!LoadForChange(context, store))
        return kExitIncomplete;
    std::vector<FolderNode*> created;
    FolderNode* folder = nullptr;
    if (!MakeFolderForChange(context, store, folderPath, folder, created))
        return kExitIncomplete;
    int result = kExitDone;
    std::vector<ScanEntry> entries;
    for (std::string& name : names) {
        if (CanKeepComputer(store.model(), folder, name)) {
            entries.push_back(ScanEntry{std::move(name), folder});
        } else {
            result = context.Fail("\"" + name + "\" is left out: it cannot be kept in the inventory beside a "
                                  "folder of that name, or as a registry key name");
        }
    }
    result = WorseStatus(result, ScanIntoTree(context, store, std::move(entries)));
    return WorseStatus(result, SaveChanges(context, store));
}

}  // namespace vn::cli

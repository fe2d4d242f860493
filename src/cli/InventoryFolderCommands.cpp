#include <sstream>

#include "cli/Commands.h"
#include "cli/ComputerJson.h"
#include "cli/InventoryChange.h"
#include "cli/InventoryPath.h"
#include "inventory/NameRules.h"

namespace vn::cli {

int RunInventoryAddFolder(CommandContext& context) {
    InventoryPath path;
    if (const std::string problem = ParseFolderPath(context.operands.at(0), path); !problem.empty())
        return context.BadUsage(problem);
    if (path.names.empty())
        return context.BadUsage("the path names no folder");
    InventoryStore store(context.host.platform(), context.host.catalogue());
    std::vector<FolderNode*> created;
    bool refused = false;
    const int saved = ChangeSavedTree(context, store, [&](InventoryModel& model) {
        FolderNode* folder = nullptr;
        refused = !MakeFolderForChange(context, model, path, folder, created);
        return !refused && !created.empty();
    });
    if (refused || saved != kExitDone)
        return kExitIncomplete;
    // Printed only once the change is saved.
    for (const FolderNode* made : created)
        WriteNodeLine(context.host.out(), store.Model(), *made);
    return kExitDone;
}

int RunInventoryRenameFolder(CommandContext& context) {
    const std::string& text = context.operands.at(0);
    const std::string& name = context.operands.at(1);
    InventoryPath path;
    if (!ParseInventoryPath(text, path))
        return context.BadUsage("the path has an empty name");
    if (path.names.empty())
        return context.BadUsage("the path names no folder");
    if (const std::string refusal = NameRefusal(NameKind::Folder, name); !refusal.empty())
        return context.BadUsage(refusal);
    InventoryStore store(context.host.platform(), context.host.catalogue());
    using Result = InventoryModel::RenameResult;
    Result result = Result::NotInTree;
    std::string renamedPath;
    std::ostringstream renamed;
    const int saved = ChangeSavedTree(context, store, [&](InventoryModel& model) {
        FolderNode* folder = nullptr;
        if (!FindFolderPath(model, path, folder))
            return false;
        result = model.RenameFolder(folder, name);
        if (result == Result::TakenByComputer) {
            const FolderNode* parent = model.ParentOf(folder);
            renamedPath = (parent != nullptr ? NodePath(model, *parent) + "/" : std::string()) + name;
            return false;
        }
        WriteSubtreeLines(renamed, model, *folder);
        return true;
    });
    if (saved != kExitDone)
        return saved;
    if (result == Result::NotInTree)
        return context.Fail("\"" + text + "\" is not a folder of the inventory");
    if (result == Result::TakenByComputer)
        return context.Fail(FolderBesideComputerRefusal(renamedPath));
    // Printed only once the change is saved.
    context.host.out() << renamed.str() << std::flush;
    return kExitDone;
}

int RunInventoryRemove(CommandContext& context) {
    const std::string& text = context.operands.at(0);
    InventoryPath path;
    if (!ParseInventoryPath(text, path))
        return context.BadUsage("the path has an empty name");
    if (path.names.empty())
        return context.BadUsage("the path names no node");
    InventoryStore store(context.host.platform(), context.host.catalogue());
    std::ostringstream removed;
    bool found = false;
    const int saved = ChangeSavedTree(context, store, [&](InventoryModel& model) {
        InventoryNode* node = FindInventoryNode(model, path);
        found = node != nullptr;
        if (found) {
            WriteSubtreeLines(removed, model, *node);
            model.DeleteSubtree(node);
        }
        return found;
    });
    if (saved != kExitDone)
        return saved;
    if (!found)
        return context.Fail("\"" + text + "\" is not in the inventory");
    // Printed only once the removal is saved.
    context.host.out() << removed.str() << std::flush;
    return kExitDone;
}

}  // namespace vn::cli

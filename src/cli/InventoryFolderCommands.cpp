#include <sstream>

#include "cli/Commands.h"
#include "cli/ComputerJson.h"
#include "cli/InventoryChange.h"
#include "cli/InventoryPath.h"

namespace vn::cli {

int RunInventoryAddFolder(CommandContext& context) {
    InventoryPath path;
    if (const std::string problem = ParseFolderPath(context.operands.at(0), path); !problem.empty())
        return context.BadUsage(problem);
    if (path.names.empty())
        return context.BadUsage("the path names no folder");
    InventoryStore store(context.host.platform(), context.host.catalogue());
    if (!LoadForChange(context, store))
        return kExitIncomplete;
    std::vector<FolderNode*> created;
    FolderNode* folder = nullptr;
    if (!MakeFolderForChange(context, store, path, folder, created))
        return kExitIncomplete;
    if (created.empty())
        return kExitDone;
    if (const int saved = SaveChanges(context, store); saved != kExitDone)
        return saved;
    for (const FolderNode* made : created)
        WriteNodeLine(context.host.out(), store.model(), *made);
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
    if (!LoadForChange(context, store))
        return kExitIncomplete;
    InventoryNode* node = FindInventoryNode(store.model(), path);
    if (node == nullptr)
        return context.Fail("\"" + text + "\" is not in the inventory");
    // Printed only once the removal is saved.
    std::ostringstream removed;
    WriteSubtreeLines(removed, store.model(), *node);
    store.model().DeleteSubtree(node);
    if (const int saved = SaveChanges(context, store); saved != kExitDone)
        return saved;
    context.host.out() << removed.str() << std::flush;
    return kExitDone;
}

}  // namespace vn::cli

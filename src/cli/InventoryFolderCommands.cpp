#include <sstream>

#include "cli/Commands.h"
#include "cli/ComputerJson.h"
#include "cli/InventoryChange.h"
#include "cli/InventoryPath.h"
#include "inventory/InventoryWriter.h"

namespace vn::cli {

int RunInventoryAddFolder(CommandContext& context) {
    InventoryPath path;
    if (!ParseInventoryPath(context.operands.at(0), path) || path.names.empty())
        return context.BadUsage("the path has an empty name");
    for (const std::string& name : path.names) {
        if (!IsStorableKeyName(name))
            return context.BadUsage("\"" + name + "\" cannot be a folder name");
    }
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
    if (!ParseInventoryPath(text, path) || path.names.empty())
        return context.BadUsage("the path has an empty name");
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

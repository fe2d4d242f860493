#include "cli/Commands.h"
#include "cli/ComputerJson.h"
#include "cli/InventoryStore.h"

namespace vn::cli {

int RunInventoryList(CommandContext& context) {
    InventoryStore store(context.host.platform(), context.host.catalogue());
    const bool complete = store.Load();
    for (const InventoryNode* node : store.Model().ChildrenOf(nullptr))
        WriteSubtreeLines(context.host.out(), store.Model(), *node);
    if (!complete)
        return context.Fail("the saved inventory could not be read completely; the list shows the part that was read");
    return kExitDone;
}

}  // namespace vn::cli

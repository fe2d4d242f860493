#include "cli/Commands.h"
#include "cli/InventoryStore.h"
#include "inventory/ComputerListFile.h"

namespace vn::cli {

int RunInventoryExport(CommandContext& context) {
    const std::string& file = context.operands.at(0);
    InventoryStore store(context.host.platform(), context.host.catalogue());
    const bool complete = store.Load();
    if (!ExportComputerList(store.Model(), file))
        return context.Fail("Could not open file \"" + file + "\". Error message: " + store.Model().LastErrorText());
    if (!complete)
        return context.Fail(
            "the saved inventory could not be read completely; only the part that was read is exported");
    return kExitDone;
}

}  // namespace vn::cli

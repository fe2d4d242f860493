#pragma once

#include "cli/CommandContext.h"

namespace vn::cli {

// One function per command; each gives the exit status.
int RunProducts(CommandContext& context);
int RunProbe(CommandContext& context);
int RunPolicies(CommandContext& context);
int RunServices(CommandContext& context);
int RunInventoryList(CommandContext& context);
int RunInventoryImport(CommandContext& context);
int RunInventoryRescan(CommandContext& context);
int RunInventoryExport(CommandContext& context);
int RunInventoryAddFolder(CommandContext& context);
int RunInventoryRenameFolder(CommandContext& context);
int RunInventoryRemove(CommandContext& context);
int RunScanNetwork(CommandContext& context);
int RunScanSubnet(CommandContext& context);
int RunDeploy(CommandContext& context);
int RunDeployTool(CommandContext& context);
int RunCredentialsSet(CommandContext& context);
int RunCredentialsShow(CommandContext& context);
int RunCredentialsForget(CommandContext& context);

}  // namespace vn::cli

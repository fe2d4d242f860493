#pragma once

#include <optional>
#include <string>

#include "cli/CommandLine.h"
#include "discovery/SubnetScanJob.h"

namespace vn::cli {

// The fast sweep --fast, --parallel N and --ports LIST ask for; none without
// --fast. Empty when the options are good, otherwise why not.
std::string ParseFastSweepOptions(const CommandLine& line, std::optional<FastSweep>& sweep);

}  // namespace vn::cli

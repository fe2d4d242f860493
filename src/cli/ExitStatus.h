#pragma once

namespace vn::cli {

// The process exit status of a netwarden run.
enum ExitStatus : int {
    kExitDone = 0,        // everything asked was done, every computer examined
    kExitIncomplete = 1,  // a computer could not be examined, or something asked failed
    kExitUsage = 2,       // bad command line; a usage text went to standard error
};

}  // namespace vn::cli

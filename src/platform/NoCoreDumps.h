#pragma once

namespace vn {

// Held by whatever keeps a secret (a password) in memory: while any holder
// lives, the process is not dumpable (no core file, no tracing by other
// programs of the user), so the secret cannot end up in a dump. When the
// last holder goes, the process is as dumpable as it was before the first.
// Thread-safe.
class NoCoreDumps {
public:
    NoCoreDumps();
    NoCoreDumps(const NoCoreDumps&);
    NoCoreDumps& operator=(const NoCoreDumps&) = default;  // both hold already
    ~NoCoreDumps();
};

}  // namespace vn

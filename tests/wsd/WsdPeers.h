#pragma once

#include <string>
#include <vector>

namespace vn::wsd::test {

// Real WS-Discovery peers for a test (tests/support/lab/wsd-peers): hosts in
// network namespaces of their own behind a bridge in the test process's own
// network namespace, at 169.254.10.2, .3, ... in the order given. The
// namespaces are named after this process and deleted when the object goes,
// and those of earlier runs that ended without deleting theirs at the start.
class WsdPeers {
public:
    // Why peers cannot run here (not root, no wsdd); empty when they can.
    static std::string Unavailable();
    // Moves this process into a network namespace of its own, once; false when
    // that is refused. Call before any thread starts.
    static bool EnterOwnNetwork();

    // "NAME:GROUP", "NAME:DOMAIN:domain" or "-" (the namespace alone).
    explicit WsdPeers(const std::vector<std::string>& hosts);
    ~WsdPeers();
    WsdPeers(const WsdPeers&) = delete;
    WsdPeers& operator=(const WsdPeers&) = delete;

    bool Started() const { return started_; }
    // Starts a program in host n's namespace (1 for the first), left running
    // until the peers go.
    bool Start(int n, const std::vector<std::string>& argv);

    // The Samba lab in each host of hosts, under root/N, its first server
    // answering SMB at the host's address; true when every one started.
    bool StartSamba(const std::string& root, const std::vector<int>& hosts);

    static std::string Address(int n);

private:
    std::string prefix_;
    bool started_ = false;
};

}  // namespace vn::wsd::test

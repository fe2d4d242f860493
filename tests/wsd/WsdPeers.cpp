#include "WsdPeers.h"

#include <sched.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

extern char** environ;

namespace vn::wsd::test {
namespace {

int Run(const std::vector<std::string>& words, bool wait) {
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (const std::string& word : words)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    if (!wait)
        return 0;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::string WsdPeers::Unavailable() {
    if (geteuid() != 0)
        return "WS-Discovery peers need root (network namespaces)";
    if (access("/usr/sbin/wsdd", X_OK) != 0)
        return "wsdd is not installed (scripts/setup installs it)";
    return {};
}

bool WsdPeers::EnterOwnNetwork() {
    static const bool entered = unshare(CLONE_NEWNET) == 0;
    return entered;
}

WsdPeers::WsdPeers(const std::vector<std::string>& hosts) : prefix_("vnwsd" + std::to_string(getpid())) {
    (void)Run({VN_WSD_PEERS, "sweep"}, true);  // what earlier runs left, if they died
    std::vector<std::string> words = {VN_WSD_PEERS, "up", prefix_};
    words.insert(words.end(), hosts.begin(), hosts.end());
    started_ = Run(words, true) == 0;
}

WsdPeers::~WsdPeers() { (void)Run({VN_WSD_PEERS, "down", prefix_}, true); }

bool WsdPeers::Start(int n, const std::vector<std::string>& argv) {
    std::vector<std::string> words = {VN_WSD_PEERS, "run", prefix_, std::to_string(n)};
    words.insert(words.end(), argv.begin(), argv.end());
    return Run(words, false) == 0;
}

bool WsdPeers::StartSamba(const std::string& root, const std::vector<int>& hosts) {
    std::vector<std::string> words = {VN_WSD_PEERS, "samba", prefix_, VN_SAMBA_LAB, root};
    for (const int n : hosts)
        words.push_back(std::to_string(n));
    return Run(words, true) == 0;
}

std::string WsdPeers::Address(int n) { return "169.254.10." + std::to_string(n + 1); }

}  // namespace vn::wsd::test

// scripted_smb_helper: a helper program for the pool's tests. It speaks the
// real protocol, through the real request loop, but its "hosts" are scripts:
//   echo       reads give back what was written, in order
//   echo-MS    the same, each read answered after MS milliseconds
//   pid        reads give the helper's process id as text
//   creds      reads give "user|password|domain|kerberos" as logged on
//   refused    the open fails with ECONNREFUSED
//   silent     the open never answers
//   crash      the helper dies during the open
// Browsing smb://LIST gives one entry of each kind, smb://silent never
// answers, smb://ENDLESS gives servers until it is stopped, anything else
// fails with ENOENT.
#include <unistd.h>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <deque>
#include <map>
#include <string>
#include <thread>

#include "platform/smb/helper/HelperProcessMain.h"

namespace {

using namespace vn::smb::helper;

void Forever() {
    for (;;)
        pause();
}

class ScriptedSession final : public HelperSession {
public:
    explicit ScriptedSession(const Logon& logon) : logon_(logon) {}

    int OpenPipe(const std::string& name, const std::string&, std::uint32_t& handle) override {
        std::string host = name;
        for (char& c : host)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (host == "silent")
            Forever();
        if (host == "crash")
            raise(SIGKILL);
        if (host == "refused")
            return ECONNREFUSED;
        Pipe pipe;
        if (host.rfind("echo-", 0) == 0)
            pipe.readDelayMs = std::stoi(host.substr(5));
        else if (host == "pid")
            Append(pipe, std::to_string(getpid()));
        else if (host == "creds")
            Append(pipe,
                   logon_.user + "|" + logon_.password + "|" + logon_.domain + "|" + (logon_.kerberos ? "k" : "-"));
        else if (host != "echo")
            return ENOENT;
        handle = next_++;
        pipes_[handle] = pipe;
        return 0;
    }

    int Write(std::uint32_t handle, std::span<const std::uint8_t> bytes) override {
        const auto found = pipes_.find(handle);
        if (found == pipes_.end())
            return EBADF;
        found->second.buffer.insert(found->second.buffer.end(), bytes.begin(), bytes.end());
        return 0;
    }

    int Read(std::uint32_t handle, std::span<std::uint8_t> out, bool& ended) override {
        const auto found = pipes_.find(handle);
        if (found == pipes_.end())
            return EBADF;
        Pipe& pipe = found->second;
        if (pipe.readDelayMs > 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(pipe.readDelayMs));
        if (pipe.buffer.size() < out.size()) {
            ended = true;
            return 0;
        }
        for (std::uint8_t& byte : out) {
            byte = pipe.buffer.front();
            pipe.buffer.pop_front();
        }
        return 0;
    }

    void Close(std::uint32_t handle) override { pipes_.erase(handle); }

    int Browse(const std::string& url, const std::function<void(const BrowseEntry&)>& entry) override {
        if (url == "smb://silent")
            Forever();
        for (int n = 0; url == "smb://ENDLESS"; ++n)
            entry({EntryKind::Server, "S" + std::to_string(n), ""});
        if (url != "smb://LIST")
            return ENOENT;
        entry({EntryKind::Workgroup, "VNLAB", "the lab"});
        entry({EntryKind::Server, "LAB1", "Lab host one"});
        entry({EntryKind::FileShare, "data", ""});
        entry({EntryKind::PrinterShare, "printer", "a printer"});
        return 0;
    }

private:
    struct Pipe {
        std::deque<std::uint8_t> buffer;
        int readDelayMs = 0;
    };

    static void Append(Pipe& pipe, const std::string& text) {
        pipe.buffer.insert(pipe.buffer.end(), text.begin(), text.end());
    }

    Logon logon_;
    std::map<std::uint32_t, Pipe> pipes_;
    std::uint32_t next_ = 1;
};

}  // namespace

int main(int argc, char** argv) {
    return HelperProcessMain(argc, argv, [](const Logon& logon, std::unique_ptr<HelperSession>& session) {
        if (logon.user == "refused-logon")
            return EACCES;
        session = std::make_unique<ScriptedSession>(logon);
        return 0;
    });
}

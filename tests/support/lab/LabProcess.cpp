#include "LabProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

extern char** environ;

namespace vn::lab {

namespace {

std::vector<char*> CStrings(const std::vector<std::string>& strings) {
    std::vector<char*> out;
    out.reserve(strings.size() + 1);
    for (const auto& s : strings)
        out.push_back(const_cast<char*>(s.c_str()));
    out.push_back(nullptr);
    return out;
}

pid_t Spawn(const std::vector<std::string>& argv, const LabEnvironment& env, const std::string& logFile,
            bool newSession, const std::string& stdinFile = "/dev/null") {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, stdinFile.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (newSession)
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    auto args = CStrings(argv);
    auto envp = CStrings(env.variables);
    pid_t pid = -1;
    if (posix_spawn(&pid, args[0], &actions, &attributes, args.data(), envp.data()) != 0)
        pid = -1;
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// True once the process is gone or a zombie nobody reaps (a container's
// init may not).
bool ProcessEnded(pid_t pid) {
    if (kill(pid, 0) != 0)
        return true;
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    return close != std::string::npos && close + 2 < line.size() && line[close + 2] == 'Z';
}

}  // namespace

LabEnvironment LabEnvironment::WithNssWrapper(const std::string& passwdFile, const std::string& groupFile) {
    LabEnvironment env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        // Our own preloads (sanitizer runtimes) do not belong in Samba's tools.
        if (entry.rfind("LD_PRELOAD=", 0) == 0 || entry.rfind("NSS_WRAPPER_", 0) == 0)
            continue;
        env.variables.push_back(entry);
    }
    env.variables.push_back("LD_PRELOAD=libnss_wrapper.so");
    env.variables.push_back("NSS_WRAPPER_PASSWD=" + passwdFile);
    env.variables.push_back("NSS_WRAPPER_GROUP=" + groupFile);
    return env;
}

int RunTool(const std::vector<std::string>& argv, const LabEnvironment& env, const std::string& logFile,
            const std::string& stdinFile) {
    const pid_t pid = Spawn(argv, env, logFile, false, stdinFile);
    if (pid < 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

pid_t StartDaemon(const std::vector<std::string>& argv, const LabEnvironment& env, const std::string& logFile) {
    return Spawn(argv, env, logFile, true);
}

void StopProcess(pid_t pid) {
    // The daemon leads its own session: its helpers go down with it.
    if (pid <= 0 || kill(-pid, SIGTERM) != 0)
        return;
    for (int i = 0; i < 40; ++i) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        // Not our child (started by another process): poll for its end.
        if (done == pid || (done < 0 && ProcessEnded(pid)))
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(-pid, SIGKILL);
    waitpid(pid, nullptr, WNOHANG);
}

void StopProcessesNaming(const std::string& text) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream cmdline(entry.path() / "cmdline", std::ios::binary);
        // Read through the buffer rather than istreambuf_iterator, which the
        // optimiser's null-dereference warning trips over at -O3.
        std::ostringstream read;
        read << cmdline.rdbuf();
        const std::string arguments = read.str();
        const pid_t pid = static_cast<pid_t>(std::stol(name));
        if (pid != getpid() && arguments.find(text) != std::string::npos)
            StopProcess(pid);
    }
}

bool TcpPortOpen(const std::string& address, int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in target{};
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool parsed = inet_pton(AF_INET, address.c_str(), &target.sin_addr) == 1;
    // Only loopback addresses are ever contacted.
    const bool loopback = parsed && (ntohl(target.sin_addr.s_addr) >> 24) == 127;
    const bool open = loopback && connect(fd, reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0;
    close(fd);
    return open;
}

int ListenOnLoopback(const std::string& address, int port) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, address.c_str(), &local.sin_addr) != 1 || (ntohl(local.sin_addr.s_addr) >> 24) != 127)
        return -1;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const int yes = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 || listen(fd, 64) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace vn::lab

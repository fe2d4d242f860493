#pragma once

#include <sys/types.h>
#include <string>
#include <vector>

namespace vn::lab {

// The environment every Samba tool of the lab runs with: the caller's, plus
// nss_wrapper so that the lab's users exist without touching /etc/passwd.
struct LabEnvironment {
    std::vector<std::string> variables;  // "NAME=value"
    static LabEnvironment WithNssWrapper(const std::string& passwdFile, const std::string& groupFile);
};

// Runs a program to its end with stdinFile (or nothing) as its input; its
// output goes to logFile. Returns the exit code, or -1 when it could not start.
int RunTool(const std::vector<std::string>& argv, const LabEnvironment& env, const std::string& logFile,
            const std::string& stdinFile = "/dev/null");

// Starts a daemon in a session of its own (so that its exit signals never
// reach our process group); returns its PID, or -1.
pid_t StartDaemon(const std::vector<std::string>& argv, const LabEnvironment& env, const std::string& logFile);

// Sends SIGTERM to the daemon's session group, waits up to two seconds for
// the daemon, then SIGKILL.
void StopProcess(pid_t pid);

// Ends, like StopProcess, every process whose command line holds text: the
// daemons that a server starts on demand in sessions of their own (the
// domain controller's samba-dcerpcd), found by the configuration file that
// they are given.
void StopProcessesNaming(const std::string& text);

// True when something accepts TCP connections on address:port.
bool TcpPortOpen(const std::string& address, int port);

// A listening TCP socket on a loopback address:port, or -1 (also for any
// address outside 127.0.0.0/8).
int ListenOnLoopback(const std::string& address, int port);

}  // namespace vn::lab

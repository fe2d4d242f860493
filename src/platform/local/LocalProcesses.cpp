#include "platform/local/LocalProcesses.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <vector>

#include "platform/local/CommandLineArguments.h"
#include "platform/local/ErrnoStatus.h"
#include "platform/local/LocalStatusCodes.h"

extern char** environ;

namespace vn {
namespace {

// Both ends of a pipe, closed unless released.
struct Pipe {
    int read = -1;
    int write = -1;
    ~Pipe() {
        if (read >= 0)
            close(read);
        if (write >= 0)
            close(write);
    }
    static int Release(int& fd) {
        const int released = fd;
        fd = -1;
        return released;
    }
};

// A close-on-exec descriptor above the standard ones, so that the child's
// dup2 onto 0..2 never meets one of our own ends there.
int AboveStandard(int fd) {
    if (fd < 0 || fd > STDERR_FILENO)
        return fd;
    const int moved = fcntl(fd, F_DUPFD_CLOEXEC, STDERR_FILENO + 1);
    close(fd);
    return moved;
}

[[nodiscard]] Status MakePipe(Pipe& pipe) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return StatusFromErrno(errno);
    pipe.read = AboveStandard(fds[0]);
    pipe.write = AboveStandard(fds[1]);
    return (pipe.read < 0 || pipe.write < 0) ? StatusFromErrno(errno) : ERROR_SUCCESS;
}

bool DirectoryExists(const std::string& path) {
    struct stat info {};
    return stat(path.empty() ? "/" : path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool HasZero(std::string_view text) { return text.find('\0') != std::string_view::npos; }

std::string AbsoluteProgramPath(const std::string& program) {
    if (program.front() == '/')
        return program;
    std::vector<char> directory(4096);
    while (!getcwd(directory.data(), directory.size()) && errno == ERANGE)
        directory.resize(directory.size() * 2);
    return std::string(directory.data()) + "/" + program;
}

// Everything the child is started with; cleans up after posix_spawn.
class SpawnSetup {
public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attributes_);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    int Prepare(int input, int output, const std::string& directory) {
        int rc = posix_spawn_file_actions_adddup2(&actions_, input, STDIN_FILENO);
        if (rc == 0)
            rc = posix_spawn_file_actions_adddup2(&actions_, output, STDOUT_FILENO);
        if (rc == 0)
            rc = posix_spawn_file_actions_adddup2(&actions_, output, STDERR_FILENO);
        if (rc == 0 && !directory.empty())
            rc = posix_spawn_file_actions_addchdir_np(&actions_, directory.c_str());
        // Descriptors that others opened without close-on-exec stay ours.
        if (rc == 0)
            rc = posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1);
        // Signals we ignore or block are not the child's business.
        sigset_t none, defaults;
        sigemptyset(&none);
        sigemptyset(&defaults);
        for (int signal = 1; signal < NSIG; ++signal)
            if (signal != SIGKILL && signal != SIGSTOP)
                sigaddset(&defaults, signal);
        if (rc == 0)
            rc = posix_spawnattr_setsigmask(&attributes_, &none);
        if (rc == 0)
            rc = posix_spawnattr_setsigdefault(&attributes_, &defaults);
        // A process group of its own: a terminal's Ctrl+C is ours to answer, and
        // Terminate can end whatever the program started as well.
        if (rc == 0)
            rc = posix_spawnattr_setpgroup(&attributes_, 0);
        if (rc == 0)
            rc = posix_spawnattr_setflags(&attributes_,
                                          POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
        return rc;
    }

    int Spawn(pid_t& pid, const std::string& path, bool searchPath, std::vector<char*>& argv) {
        return searchPath ? posix_spawnp(&pid, path.c_str(), &actions_, &attributes_, argv.data(), environ)
                          : posix_spawn(&pid, path.c_str(), &actions_, &attributes_, argv.data(), environ);
    }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

}  // namespace

Status LocalProcesses::Start(std::string_view program, std::string_view commandLine, std::string_view workingDirectory,
                             std::unique_ptr<ChildProcess>& result) {
    std::unique_ptr<LocalChildProcess> child;
    const Status status = StartLocal(program, commandLine, workingDirectory, child);
    if (status == ERROR_SUCCESS)
        result = std::move(child);
    return status;
}

Status LocalProcesses::StartLocal(std::string_view program, std::string_view commandLine,
                                  std::string_view workingDirectory, std::unique_ptr<LocalChildProcess>& result) {
    if (HasZero(program) || HasZero(commandLine) || HasZero(workingDirectory))
        return ERROR_INVALID_PARAMETER;
    std::vector<std::string> arguments = SplitCommandLine(commandLine, program);
    std::string path(program.empty() ? std::string_view(arguments[0]) : program);
    if (path.empty())
        return ERROR_FILE_NOT_FOUND;
    const bool searchPath = program.empty() && path.find('/') == std::string::npos;
    if (!searchPath)
        path = AbsoluteProgramPath(path);

    const std::string directory(workingDirectory);
    if (!directory.empty() && !DirectoryExists(directory))
        return ERROR_DIRECTORY;

    Pipe input, output;
    if (Status status = MakePipe(input); status != ERROR_SUCCESS)
        return status;
    if (Status status = MakePipe(output); status != ERROR_SUCCESS)
        return status;
    // Our reading end never blocks: ReadOutput waits in poll instead.
    if (fcntl(output.read, F_SETFL, O_NONBLOCK) != 0)
        return StatusFromErrno(errno);

    SpawnSetup setup;
    if (int rc = setup.Prepare(input.read, output.write, directory); rc != 0)
        return StatusFromErrno(rc);
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (int rc = setup.Spawn(pid, path, searchPath, argv); rc != 0)
        return rc == ENOENT && !searchPath && !DirectoryExists(path.substr(0, path.rfind('/')))
                   ? ERROR_PATH_NOT_FOUND  // as CreateProcess tells a missing directory
                   : StatusFromErrno(rc);

    const int processFd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    result = std::make_unique<LocalChildProcess>(pid, processFd < 0 ? -1 : processFd, Pipe::Release(input.write),
                                                 Pipe::Release(output.read));
    return ERROR_SUCCESS;
}

}  // namespace vn

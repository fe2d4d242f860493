#include "cli/TerminalPassword.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>

namespace vn::cli {
namespace {

volatile std::sig_atomic_t g_interrupted = 0;  // the signal that ended the read

void NoteInterrupt(int signal) { g_interrupted = signal; }

// Echo off while it lives; an interrupt ends the read (the handler does not
// restart it), so the terminal is always given its echo back.
class NoEcho {
public:
    explicit NoEcho(int terminal) : terminal_(terminal) {
        if (tcgetattr(terminal_, &saved_) != 0)
            return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        struct sigaction action {};
        action.sa_handler = NoteInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &savedInt_);
        sigaction(SIGTERM, &action, &savedTerm_);
        active_ = tcsetattr(terminal_, TCSAFLUSH, &quiet) == 0;
    }
    ~NoEcho() {
        if (active_)
            tcsetattr(terminal_, TCSAFLUSH, &saved_);
        sigaction(SIGINT, &savedInt_, nullptr);
        sigaction(SIGTERM, &savedTerm_, nullptr);
    }
    NoEcho(const NoEcho&) = delete;
    NoEcho& operator=(const NoEcho&) = delete;

    bool Active() const { return active_; }

private:
    int terminal_;
    termios saved_{};
    struct sigaction savedInt_ {};
    struct sigaction savedTerm_ {};
    bool active_ = false;
};

}  // namespace

bool ReadPasswordFromTerminal(std::string_view prompt, std::string& password) {
    password.clear();
    const int terminal = open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal < 0)
        return false;
    bool answered = false;
    {
        g_interrupted = 0;
        NoEcho noEcho(terminal);
        if (noEcho.Active() && write(terminal, prompt.data(), prompt.size()) >= 0) {
            char c = 0;
            while (!g_interrupted) {
                const ssize_t got = read(terminal, &c, 1);
                if (got <= 0)
                    break;
                if (c == '\n' || c == '\r') {
                    answered = true;
                    break;
                }
                password += c;
            }
        }
    }
    close(terminal);
    if (g_interrupted) {
        password.assign(password.size(), '\0');
        password.clear();
        std::raise(g_interrupted);  // the restored handler ends the program as the signal would have
        return false;
    }
    return answered;
}

}  // namespace vn::cli

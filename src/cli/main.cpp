#include <QCoreApplication>
#include <csignal>
#include <string>
#include <vector>

#include "cli/Netwarden.h"
#include "cli/SystemCliHost.h"

// netwarden: the engine of the window program for scripts. A core
// application, not a GUI one: the scan worker's calls onto the model's thread
// need only an event loop.
int main(int argc, char* argv[]) {
    // A peer that closes its end (a directory server, a reader of the
    // output) gives a failed write to report, not the end of the process
    // and of the unsaved results of a scan.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication application(argc, argv);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    vn::cli::SystemCliHost host;
    return vn::cli::RunNetwarden(arguments, host);
}

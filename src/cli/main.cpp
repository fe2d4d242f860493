#include <QCoreApplication>
#include <string>
#include <vector>

#include "cli/Netwarden.h"
#include "cli/SystemCliHost.h"

// netwarden: the engine of the window program for scripts. A core
// application, not a GUI one: the scan worker's calls onto the model's thread
// need only an event loop.
int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    std::vector<std::string> arguments(argv + 1, argv + argc);
    vn::cli::SystemCliHost host;
    return vn::cli::RunNetwarden(arguments, host);
}

#include "app/commands/LocalVantorHost.h"

namespace vn {

bool IsVantorHostInstalledHere(Registry& registry) {
    RegistryKeyPtr hive;
    RegistryKeyPtr service;
    return registry.Connect("", Hive::LocalMachine, hive) == ERROR_SUCCESS &&
           hive->OpenKey("System\\CurrentControlSet\\Services\\Vantor", KEY_READ, service) == ERROR_SUCCESS;
}

}  // namespace vn

#include "credentials/AdministratorViewCheck.h"

#include "platform/SystemErrorText.h"

namespace vn {
namespace {

constexpr const char* kMachineSoftware = "SOFTWARE";

// The system's texts end with a line break.
std::string OneLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

}  // namespace

AdministratorViewResult CheckAdministratorView(Registry& registry, const std::string& computer) {
    AdministratorViewResult result;
    RegistryKeyPtr machine;
    result.status = registry.Connect(computer, Hive::LocalMachine, machine);
    if (result.status != ERROR_SUCCESS) {
        result.text = computer + ": the remote registry cannot be opened: " + OneLine(SystemErrorText(result.status));
        return result;
    }
    RegistryKeyPtr software;
    result.status = machine->OpenKey(kMachineSoftware, KEY_READ | KEY_WRITE, software);
    if (result.status == ERROR_SUCCESS) {
        result.view = AdministratorView::Reached;
        result.text = computer + ": the administrator view is reached.";
    } else if (result.status == ERROR_ACCESS_DENIED) {
        result.view = AdministratorView::NotAdministrator;
        result.text = computer +
                      ": reached, but not as an administrator: products that only administrators may read will "
                      "not be found.";
    } else {
        result.text = computer + ": the registry does not answer: " + OneLine(SystemErrorText(result.status));
    }
    return result;
}

}  // namespace vn

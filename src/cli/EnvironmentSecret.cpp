#include "cli/EnvironmentSecret.h"

#include <cstdlib>
#include <cstring>

namespace vn::cli {

bool TakeEnvironmentSecret(const char* name, std::string& secret) {
    char* value = std::getenv(name);
    if (value == nullptr)
        return false;
    secret.assign(value);
    // The text lies in the process's environment block (or where setenv put
    // it); unsetenv only drops the pointer to it.
    explicit_bzero(value, std::strlen(value));
    // The one change of the environment, made before the program starts the
    // work that reads it.
    unsetenv(name);  // NOLINT(concurrency-mt-unsafe)
    return true;
}

}  // namespace vn::cli

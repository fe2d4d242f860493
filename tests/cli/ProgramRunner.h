#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <filesystem>
#include <memory>
#include <string>

namespace vn::cli::test {

struct ProgramOutcome {
    int exitCode = -1;  // -1 when the program did not end normally
    std::string out;
    std::string err;
};

// Runs the built netwarden as a script would: with a home, configuration and
// user hive of its own under directory, no Kerberos ticket, no session bus
// (so no keyring), no controlling terminal. Needs a QCoreApplication.
class ProgramRunner {
public:
    explicit ProgramRunner(const std::string& directory);

    // The program next to the tests; empty when it was not built.
    const std::filesystem::path& Program() const { return program_; }

    // A copy of the program and its SMB helper in folder, with catalogue
    // written beside it as its product file unless catalogue is empty.
    // Returns the copy's path.
    std::filesystem::path CopyWithCatalogue(const std::filesystem::path& folder, const std::string& catalogue) const;
    // The same laid out as an installation under the prefix folder: bin/,
    // libexec/vantor-netwarden/, share/vantor-netwarden/.
    std::filesystem::path CopyInstalled(const std::filesystem::path& folder, const std::string& catalogue) const;

    void Set(const char* name, const std::string& value);
    // input is the program's standard input, which ends after it.
    ProgramOutcome Run(const QStringList& arguments, const std::filesystem::path& program = {},
                       const std::string& input = {}) const;
    // The program started and left running, for a test to watch or kill.
    std::unique_ptr<QProcess> Start(const QStringList& arguments) const;

private:
    std::filesystem::path program_;
    QProcessEnvironment environment_;
};

}  // namespace vn::cli::test

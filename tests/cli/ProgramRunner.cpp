#include "ProgramRunner.h"

#include <unistd.h>

#include <QProcess>
#include <cstdlib>
#include <fstream>

namespace vn::cli::test {

ProgramRunner::ProgramRunner(const std::string& directory) : environment_(QProcessEnvironment::systemEnvironment()) {
    const char* binaryDir = std::getenv("VN_TEST_BINARY_DIR");
    if (binaryDir && std::filesystem::exists(std::filesystem::path(binaryDir) / "bin" / "netwarden"))
        program_ = std::filesystem::path(binaryDir) / "bin" / "netwarden";
    Set("NETWARDEN_USER_HIVE", directory + "/user.db");
    Set("NETWARDEN_MACHINE_HIVE", directory + "/machine.db");
    Set("HOME", directory);
    Set("XDG_CONFIG_HOME", directory + "/config");
    Set("KRB5CCNAME", "FILE:" + directory + "/no-ticket");
    environment_.remove(QStringLiteral("NETWARDEN_PASSWORD"));
    environment_.remove(QStringLiteral("NETWARDEN_AUTH_FILE"));
    // No session bus: the keyring of whoever runs the tests stays out of them.
    environment_.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    environment_.remove(QStringLiteral("XDG_RUNTIME_DIR"));
}

namespace {

std::filesystem::path CopyLaidOut(const std::filesystem::path& program, const std::string& catalogue,
                                  const std::filesystem::path& bin, const std::filesystem::path& helpers,
                                  const std::filesystem::path& data) {
    for (const auto& folder : {bin, helpers, data})
        std::filesystem::create_directories(folder);
    std::filesystem::path copy = bin / "netwarden";
    std::filesystem::copy_file(program, copy);
    const std::filesystem::path helper = program.parent_path() / "netwarden-smb-helper";
    if (std::filesystem::exists(helper))
        std::filesystem::copy_file(helper, helpers / helper.filename());
    if (!catalogue.empty())
        std::ofstream(data / "VtrNetwarden.ini", std::ios::binary) << catalogue;
    return copy;
}

}  // namespace

std::filesystem::path ProgramRunner::CopyWithCatalogue(const std::filesystem::path& folder,
                                                       const std::string& catalogue) const {
    return CopyLaidOut(program_, catalogue, folder, folder, folder);
}

std::filesystem::path ProgramRunner::CopyInstalled(const std::filesystem::path& folder,
                                                   const std::string& catalogue) const {
    return CopyLaidOut(program_, catalogue, folder / "bin", folder / "libexec/vantor-netwarden",
                       folder / "share/vantor-netwarden");
}

void ProgramRunner::Set(const char* name, const std::string& value) {
    environment_.insert(QString::fromLatin1(name), QString::fromStdString(value));
}

std::unique_ptr<QProcess> ProgramRunner::Start(const QStringList& arguments) const {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(environment_);
    process->setChildProcessModifier([] { setsid(); });  // no terminal to ask a password on
    process->start(QString::fromStdString(program_.string()), arguments);
    return process;
}

ProgramOutcome ProgramRunner::Run(const QStringList& arguments, const std::filesystem::path& program,
                                  const std::string& input) const {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.setChildProcessModifier([] { setsid(); });  // no terminal to ask a password on
    process.start(QString::fromStdString((program.empty() ? program_ : program).string()), arguments);
    if (!process.waitForStarted(10000))
        return {};
    process.write(input.data(), static_cast<qint64>(input.size()));
    process.closeWriteChannel();
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return ProgramOutcome{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                          process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

}  // namespace vn::cli::test

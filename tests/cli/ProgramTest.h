#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QStringList>
#include <string>

#include "ProgramRunner.h"
#include "platform/TempDirectory.h"

namespace vn::cli::test {

// A test of the built netwarden: the Qt application its QProcess needs, a
// folder of the test's own and the runner that starts the program there.
// Skipped when the program was not built; a derived SetUp calls this one
// first and returns when IsSkipped().
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (runner_.Program().empty())
            GTEST_SKIP() << "netwarden is not built next to the tests";
    }

    // Runs the program in a mount namespace of its own whose /etc/hosts and
    // /etc/resolv.conf are the given files, so that every name it looks up
    // stays where the test says.
    ProgramOutcome RunWithNames(const std::string& hostsFile, const std::string& resolverFile,
                                const QStringList& arguments) {
        // The rest of the line runs with these files mounted over the
        // system's, in a mount namespace of its own.
        const QString withNameFiles =
            "mount --bind \"$1\" /etc/hosts && mount --bind \"$2\" /etc/resolv.conf && shift 2 && exec \"$@\"";
        QStringList wrapped{"-m",
                            "sh",
                            "-c",
                            withNameFiles,
                            "sh",
                            QString::fromStdString(hostsFile),
                            QString::fromStdString(resolverFile),
                            QString::fromStdString(runner_.Program().string())};
        return runner_.Run(wrapped + arguments, "/usr/bin/unshare");
    }

    int argc_ = 1;
    char name_[6] = "tests";
    char* argv_[1] = {name_};
    QCoreApplication application_{argc_, argv_};
    TempDirectory directory_;
    ProgramRunner runner_{directory_.Path()};
};

}  // namespace vn::cli::test

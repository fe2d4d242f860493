#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>

namespace vn::test {

// Runs work in a child process and in this one at the same time, as two
// programs sharing a file would; each returns its count of failures. The
// child's count becomes its exit code. The child must open its own files and
// connections: nothing of this process's may be used across the fork.
inline void RunInTwoProcesses(const std::function<int(int process)>& work) {
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        _exit(work(1) == 0 ? 0 : 1);
    EXPECT_EQ(work(0), 0);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the other process saw failures";
}

}  // namespace vn::test

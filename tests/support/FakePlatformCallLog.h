#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace vn::test {

// One call that reached the fake platform: the operation's Windows name, the
// computer it addressed ("" for this computer or where none applies) and its
// arguments written as text.
struct FakeCall {
    std::string operation;
    std::string computer;
    std::vector<std::string> arguments;
};

// Every call, in the order the calls arrived; safe to use from several threads.
class FakePlatformCallLog {
public:
    void Add(FakeCall call);
    std::vector<FakeCall> Calls() const;
    // Calls of the operation (and of the computer, when one is given, ignoring case).
    std::vector<FakeCall> Calls(std::string_view operation, std::string_view computer = {}) const;
    std::size_t Count(std::string_view operation, std::string_view computer = {}) const;
    void Clear();

private:
    mutable std::mutex mutex_;
    std::vector<FakeCall> calls_;
};

// Case-insensitive comparison of ASCII names, as Windows compares computer,
// key and account names.
bool SameName(std::string_view a, std::string_view b);
std::string UpperName(std::string_view name);

}  // namespace vn::test

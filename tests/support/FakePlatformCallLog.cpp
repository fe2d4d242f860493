#include "support/FakePlatformCallLog.h"

#include <algorithm>
#include <cctype>

namespace vn::test {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

std::string UpperName(std::string_view name) {
    std::string upper(name);
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

void FakePlatformCallLog::Add(FakeCall call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
}

std::vector<FakeCall> FakePlatformCallLog::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<FakeCall> FakePlatformCallLog::Calls(std::string_view operation, std::string_view computer) const {
    std::lock_guard lock(mutex_);
    std::vector<FakeCall> matching;
    for (const FakeCall& call : calls_) {
        if (call.operation == operation && (computer.empty() || SameName(call.computer, computer)))
            matching.push_back(call);
    }
    return matching;
}

std::size_t FakePlatformCallLog::Count(std::string_view operation, std::string_view computer) const {
    return Calls(operation, computer).size();
}

void FakePlatformCallLog::Clear() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

}  // namespace vn::test

#pragma once

#include <map>
#include <memory>
#include <string>

namespace vn {

// Keeps the connections a thread opens to other computers while the scope
// lives, for its later calls to reuse: one examination of a computer opens
// and binds each of its pipes once, however many reads it makes through
// them. They close when the scope ends (or with their last user after). A
// scope inside another changes nothing: the outer one keeps.
class RemoteConnectionScope {
public:
    RemoteConnectionScope();
    ~RemoteConnectionScope();
    RemoteConnectionScope(const RemoteConnectionScope&) = delete;
    RemoteConnectionScope& operator=(const RemoteConnectionScope&) = delete;

    // What this thread's scope keeps under key: null without a scope or
    // when nothing is kept there.
    static std::shared_ptr<void> Find(const std::string& key);
    // Keeps connection under key (in place of what was there) while this
    // thread's scope lives; without a scope, nothing is kept.
    static void Keep(const std::string& key, std::shared_ptr<void> connection);

private:
    bool outermost_ = false;
    std::map<std::string, std::shared_ptr<void>> kept_;
};

}  // namespace vn

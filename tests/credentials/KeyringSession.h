#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace vn::test {

// Why the keyring tests cannot run here: empty when tests/scripts/keyring-session
// started this program on a session bus with an unlocked keyring.
inline std::string KeyringSessionMissing() {
    if (const char* missing = std::getenv("VN_KEYRING_MISSING"); missing && *missing)
        return std::string("GNOME Keyring is ") + missing;
    const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    if (bus == nullptr || *bus == '\0')
        return "no session bus: run this test through tests/scripts/keyring-session (ctest does)";
    return {};
}

}  // namespace vn::test

#include "support/FakePlatform.h"

#include <algorithm>

namespace vn::test {
namespace {

constexpr Status ERROR_NO_SUCH_LOGON_SESSION = 1312;

}  // namespace

FakePlatform::FakePlatform() = default;
FakePlatform::~FakePlatform() = default;

void FakePlatform::SetLocalName(std::optional<std::string> name) {
    if (name)
        computers_.SetLocalName(*name);
    local_.SetLocalName(std::move(name));
}

Status FakePlatform::OnComputer(const char* operation, std::string_view computer, std::vector<std::string> arguments,
                                Status unknownStatus, const std::function<Status(FakeComputer::State&)>& action) {
    std::chrono::milliseconds delay{0};
    {
        std::lock_guard lock(core_.mutex);
        if (FakeComputer* target = computers_.FindLocked(computer))
            delay = target->StateLocked().delay;
    }
    core_.Enter(operation, std::string(computer), std::move(arguments), delay);
    std::lock_guard lock(core_.mutex);
    FakeComputer* target = computers_.FindLocked(computer);
    if (!target)
        return unknownStatus;
    return action(target->StateLocked());
}

Status FakePlatform::Connect(std::string_view computer, Hive hive, RegistryKeyPtr& result) {
    const bool remote = !computer.empty();
    return OnComputer("RegConnectRegistry", computer, {HiveName(hive)}, ERROR_BAD_NETPATH,
                      [&](FakeComputer::State& state) {
                          if (state.connectStatus != ERROR_SUCCESS)
                              return state.connectStatus;
                          // Another computer's current user hive cannot be reached.
                          if (remote && hive == Hive::CurrentUser)
                              return ERROR_INVALID_HANDLE;
                          result = MakeFakeRootKey(core_, std::string(computer), hive, state.hives[hive]);
                          return ERROR_SUCCESS;
                      });
}

Status FakePlatform::NetServerGetInfo101(std::string_view server, ServerInfo101& info) {
    return OnComputer("NetServerGetInfo", server, {"101"}, ERROR_BAD_NETPATH, [&](FakeComputer::State& state) {
        if (state.serverInfoStatus == ERROR_SUCCESS)
            info = state.serverInfo;
        return state.serverInfoStatus;
    });
}

Status FakePlatform::NetWkstaGetInfo100(std::string_view server, WkstaInfo100& info) {
    return OnComputer("NetWkstaGetInfo", server, {"100"}, ERROR_BAD_NETPATH, [&](FakeComputer::State& state) {
        if (state.wkstaInfoStatus == ERROR_SUCCESS)
            info = state.wkstaInfo;
        return state.wkstaInfoStatus;
    });
}

Status FakePlatform::NetWkstaUserEnum1(std::string_view server, std::vector<WkstaUserInfo1>& users,
                                       std::uint32_t& resumeHandle) {
    return OnComputer("NetWkstaUserEnum", server, {"1", std::to_string(resumeHandle)}, ERROR_BAD_NETPATH,
                      [&](FakeComputer::State& state) {
                          if (state.userEnumStatus != ERROR_SUCCESS)
                              return state.userEnumStatus;
                          const std::size_t total = state.users.size();
                          const std::size_t first = std::min<std::size_t>(resumeHandle, total);
                          const std::size_t batch = state.userBatch ? state.userBatch : total;
                          const std::size_t end = std::min(total, first + batch);
                          users.assign(state.users.begin() + static_cast<std::ptrdiff_t>(first),
                                       state.users.begin() + static_cast<std::ptrdiff_t>(end));
                          if (end < total) {
                              resumeHandle = static_cast<std::uint32_t>(end);
                              return ERROR_MORE_DATA;
                          }
                          resumeHandle = 0;
                          return ERROR_SUCCESS;
                      });
}

Status FakePlatform::NetWkstaUserGetInfo1(WkstaUserInfo1& info) {
    return OnComputer("NetWkstaUserGetInfo", {}, {"1"}, ERROR_BAD_NETPATH, [&](FakeComputer::State& state) {
        if (state.users.empty())
            return ERROR_NO_SUCH_LOGON_SESSION;
        info = state.users.front();
        return ERROR_SUCCESS;
    });
}

Status FakePlatform::LookupAccountName(std::string_view systemName, std::string_view accountName, Sid& sid,
                                       std::string& referencedDomain, SidNameUse& use) {
    return OnComputer("LookupAccountName", systemName, {std::string(accountName)}, RPC_S_SERVER_UNAVAILABLE,
                      [&](FakeComputer::State& state) {
                          for (const FakeAccount& account : state.accounts) {
                              const std::string_view name = account.name;
                              const std::size_t slash = name.find('\\');
                              const bool matches =
                                  SameName(name, accountName) ||
                                  (accountName.find('\\') == std::string_view::npos &&
                                   slash != std::string_view::npos && SameName(name.substr(slash + 1), accountName));
                              if (matches) {
                                  sid = account.sid;
                                  referencedDomain = account.domain;
                                  use = account.use;
                                  return ERROR_SUCCESS;
                              }
                          }
                          return ERROR_NONE_MAPPED;
                      });
}

}  // namespace vn::test

#include "platform/smb/pool/HelperPoolCore.h"

#include <string.h>
#include <algorithm>

#include "platform/smb/pool/HelperCall.h"
#include "platform/smb/rpc/StatusMapping.h"

namespace vn::smb {

HelperPoolCore::HelperPoolCore(HelperPoolOptions options, const SmbCredentials& credentials)
    : options_(std::move(options)),
      credentials_(credentials) {}

void HelperPoolCore::SetCredentials(const SmbCredentials& credentials) {
    std::lock_guard<std::mutex> lock(mutex_);
    credentials_ = credentials;
    ++generation_;  // helpers of the old ones serve their open pipes, then end
    housekeeping_.notify_one();
}

SmbCredentials HelperPoolCore::Credentials() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return credentials_;
}

std::shared_ptr<HelperSlot> HelperPoolCore::ChooseLocked(const std::string& host) const {
    const auto usable = [&](const std::shared_ptr<HelperSlot>& slot) {
        return !slot->busy && !slot->retired && slot->generation == generation_ && slot->process->Alive();
    };
    if (!host.empty()) {
        for (const auto& slot : slots_) {
            if (usable(slot) && slot->HoldsSessionWith(host) && slot->PipesOnlyTo(host))
                return slot;
        }
    }
    for (const auto& slot : slots_) {
        if (usable(slot) && slot->pipeHosts.empty())
            return slot;
    }
    if (slots_.size() + starting_ < options_.maxHelpers)
        return nullptr;  // a new helper keeps calls to different hosts apart
    std::shared_ptr<HelperSlot> least;
    for (const auto& slot : slots_) {
        if (usable(slot) && (!least || slot->pipeHosts.size() < least->pipeHosts.size()))
            least = slot;
    }
    return least;
}

Status HelperPoolCore::Acquire(const std::string& host, Clock::time_point deadline, Status timeoutStatus,
                               std::shared_ptr<HelperSlot>& slot) {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            if (closed_)
                return RPC_S_CALL_FAILED;
            if (auto chosen = ChooseLocked(host)) {
                chosen->busy = true;
                slot = std::move(chosen);
                return ERROR_SUCCESS;
            }
            if (slots_.size() + starting_ < options_.maxHelpers) {
                ++starting_;
                break;
            }
            if (changed_.wait_until(lock, deadline) == std::cv_status::timeout)
                return timeoutStatus;
        }
    }
    return StartHelper(deadline, timeoutStatus, slot);
}

Status HelperPoolCore::StartHelper(Clock::time_point deadline, Status timeoutStatus,
                                   std::shared_ptr<HelperSlot>& slot) {
    auto fresh = std::make_shared<HelperSlot>();
    Status status = SpawnOnHousekeeper(fresh->process);
    if (status == ERROR_SUCCESS) {
        helper::Request logon;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            logon = helper::Logon{credentials_.UseKerberos(), credentials_.User(), credentials_.Password(),
                                  credentials_.Domain()};
            fresh->generation = generation_;
        }
        helper::Reply reply;
        status =
            CallHelper<helper::Done>(*fresh->process, logon, deadline, timeoutStatus, StatusFromConnectErrno, reply);
        std::string& password = std::get<helper::Logon>(logon).password;
        explicit_bzero(password.data(), password.size());
    }
    std::lock_guard<std::mutex> lock(mutex_);
    --starting_;
    if (status == ERROR_SUCCESS && closed_)
        status = RPC_S_CALL_FAILED;
    if (status == ERROR_SUCCESS) {
        fresh->busy = true;
        slots_.push_back(fresh);
        ++started_;
        slot = std::move(fresh);
        housekeeping_.notify_one();
    } else if (fresh->process) {
        fresh->process->Kill();
    }
    changed_.notify_all();
    return status;
}

Status HelperPoolCore::SpawnOnHousekeeper(std::unique_ptr<HelperProcess>& process) {
    auto request = std::make_shared<SpawnRequest>();
    std::unique_lock<std::mutex> lock(mutex_);
    if (closed_)
        return RPC_S_CALL_FAILED;
    spawns_.push_back(request);
    housekeeping_.notify_one();
    changed_.wait(lock, [&] { return request->done; });
    process = std::move(request->process);
    return request->status;
}

bool HelperPoolCore::Lease(const std::shared_ptr<HelperSlot>& slot, Clock::time_point deadline, bool& timedOut) {
    timedOut = false;
    std::unique_lock<std::mutex> lock(mutex_);
    while (slot->busy && !closed_) {
        if (changed_.wait_until(lock, deadline) == std::cv_status::timeout && slot->busy) {
            timedOut = true;
            return false;
        }
    }
    if (closed_ || !slot->process->Alive())
        return false;
    slot->busy = true;
    return true;
}

void HelperPoolCore::Release(const std::shared_ptr<HelperSlot>& slot) {
    std::lock_guard<std::mutex> lock(mutex_);
    slot->busy = false;
    slot->lastUsed = Clock::now();
    if (!slot->process->Alive())
        DropLocked(slot);
    changed_.notify_all();
    housekeeping_.notify_one();
}

void HelperPoolCore::PipeOpened(HelperSlot& slot, const std::string& host) {
    std::lock_guard<std::mutex> lock(mutex_);
    slot.pipeHosts.push_back(host);
    slot.RememberSession(host);
}

void HelperPoolCore::PipeClosed(HelperSlot& slot, const std::string& host, bool closedInHelper) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto open = std::find(slot.pipeHosts.begin(), slot.pipeHosts.end(), host);
    if (open != slot.pipeHosts.end())
        slot.pipeHosts.erase(open);
    // A pipe left open in the helper ends with it.
    if (!closedInHelper)
        slot.retired = true;
    housekeeping_.notify_one();
}

void HelperPoolCore::DropLocked(const std::shared_ptr<HelperSlot>& slot) { std::erase(slots_, slot); }

std::vector<std::shared_ptr<HelperSlot>> HelperPoolCore::TakeExpiredLocked(Clock::time_point now) {
    std::vector<std::shared_ptr<HelperSlot>> expired;
    std::erase_if(slots_, [&](const std::shared_ptr<HelperSlot>& slot) {
        if (slot->busy || !slot->pipeHosts.empty())
            return false;
        const bool ends = slot->retired || slot->generation != generation_ || !slot->process->Alive() ||
                          now - slot->lastUsed >= options_.idleLimit;
        if (ends)
            expired.push_back(slot);
        return ends;
    });
    return expired;
}

HelperPoolCore::Clock::time_point HelperPoolCore::NextExpiryLocked(Clock::time_point now) const {
    Clock::time_point next = now + options_.idleLimit;
    for (const auto& slot : slots_) {
        if (!slot->busy && slot->pipeHosts.empty())
            next = std::min(next, slot->lastUsed + options_.idleLimit);
    }
    return next;
}

void HelperPoolCore::RunHousekeeping() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!closed_) {
        if (!spawns_.empty()) {
            auto request = spawns_.front();
            spawns_.pop_front();
            lock.unlock();
            std::unique_ptr<HelperProcess> process;
            const Status status = HelperProcess::Spawn(options_.program, process);
            lock.lock();
            request->process = std::move(process);
            request->status = status;
            request->done = true;
            changed_.notify_all();
            continue;
        }
        const Clock::time_point now = Clock::now();
        if (auto expired = TakeExpiredLocked(now); !expired.empty()) {
            lock.unlock();
            for (const auto& slot : expired)
                slot->process->Kill();
            expired.clear();
            lock.lock();
            changed_.notify_all();
            continue;
        }
        housekeeping_.wait_until(lock, NextExpiryLocked(now));
    }
    for (const auto& request : spawns_) {
        request->status = RPC_S_CALL_FAILED;
        request->done = true;
    }
    spawns_.clear();
    changed_.notify_all();
}

void HelperPoolCore::Close() {
    std::vector<std::shared_ptr<HelperSlot>> all;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        all.swap(slots_);
        changed_.notify_all();
        housekeeping_.notify_all();
    }
    for (const auto& slot : all)
        slot->process->Kill();
}

std::vector<pid_t> HelperPoolCore::HelperIds() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<pid_t> ids;
    for (const auto& slot : slots_) {
        if (slot->process->Alive())
            ids.push_back(slot->process->Pid());
    }
    return ids;
}

std::size_t HelperPoolCore::HelpersStarted() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return started_;
}

}  // namespace vn::smb

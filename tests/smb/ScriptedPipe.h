#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <thread>
#include <vector>

#include "platform/smb/rpc/PipeStream.h"
#include "platform/smb/rpc/StatusMapping.h"

namespace vn::smb::testing {

// A pipe whose server side is a list of prepared byte blocks: what the client
// writes is recorded, reads are served from the queued answers in order. With
// a drip, the bytes of each read come that long after it asks, and a read
// whose deadline comes first fails as a pipe's does.
class ScriptedPipe : public PipeStream {
public:
    struct Shared {
        std::vector<std::vector<std::uint8_t>> written;
        std::deque<std::uint8_t> toRead;
        std::size_t largestRead = 0;
        std::vector<Deadline> deadlines;  // of every write and read, in order
        std::chrono::milliseconds drip{0};
    };

    explicit ScriptedPipe(Shared& shared) : shared_(shared) {}

    Status Write(std::span<const std::uint8_t> bytes, Deadline deadline) override {
        shared_.deadlines.push_back(deadline);
        shared_.written.emplace_back(bytes.begin(), bytes.end());
        return ERROR_SUCCESS;
    }

    Status ReadExact(std::uint8_t* out, std::size_t size, Deadline deadline) override {
        shared_.deadlines.push_back(deadline);
        if (shared_.drip.count() > 0) {
            const Deadline arrival = std::chrono::steady_clock::now() + shared_.drip;
            if (arrival > deadline) {
                std::this_thread::sleep_until(deadline);
                return ERROR_SEM_TIMEOUT;
            }
            std::this_thread::sleep_until(arrival);
        }
        if (size > shared_.largestRead)
            shared_.largestRead = size;
        if (size > shared_.toRead.size())
            return ERROR_BROKEN_PIPE;
        for (std::size_t i = 0; i < size; ++i) {
            out[i] = shared_.toRead.front();
            shared_.toRead.pop_front();
        }
        return ERROR_SUCCESS;
    }

private:
    Shared& shared_;
};

}  // namespace vn::smb::testing

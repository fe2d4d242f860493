#include <gtest/gtest.h>

#include <memory>
#include <numeric>

#include "RpcTestPdus.h"
#include "ScriptedPipe.h"
#include "platform/RemoteDeadline.h"
#include "platform/smb/rpc/RpcConnection.h"
#include "platform/smb/rpc/Winreg.h"

namespace vn::smb {
namespace {

using testing::BindAckPdu;
using testing::FaultPdu;
using testing::ResponsePdu;
using testing::ScriptedPipe;
using Bytes = std::vector<std::uint8_t>;

class RpcConnectionTest : public ::testing::Test {
protected:
    void Queue(const Bytes& pdu) { pipe_.toRead.insert(pipe_.toRead.end(), pdu.begin(), pdu.end()); }

    Status Bind(std::uint16_t serverMaxRecv = 4280) {
        Queue(BindAckPdu(1, serverMaxRecv));
        return connection_.Bind(winreg::Interface());
    }

    static Bytes Pattern(std::size_t size) {
        Bytes bytes(size);
        std::iota(bytes.begin(), bytes.end(), std::uint8_t{0});
        return bytes;
    }

    ScriptedPipe::Shared pipe_;
    RpcConnection connection_{std::make_unique<ScriptedPipe>(pipe_)};
};

TEST_F(RpcConnectionTest, BindOffersTheInterfaceAndNdr) {
    ASSERT_EQ(Bind(), ERROR_SUCCESS);
    ASSERT_EQ(pipe_.written.size(), 1u);
    const Bytes& bind = pipe_.written[0];
    EXPECT_EQ(bind[2], 11);  // bind
    EXPECT_EQ(bind[8] | (bind[9] << 8), static_cast<int>(bind.size()));
    // winreg 338cd001-2244-31f1-...: first field little-endian on the wire.
    EXPECT_EQ((Bytes{bind.begin() + 32, bind.begin() + 36}), (Bytes{0x01, 0xd0, 0x8c, 0x33}));
}

TEST_F(RpcConnectionTest, RejectedBindIsUnknownInterface) {
    Queue(BindAckPdu(1, 4280, 2));
    EXPECT_EQ(connection_.Bind(winreg::Interface()), RPC_S_UNKNOWN_IF);
    Bytes response;
    EXPECT_EQ(connection_.Call(1, Bytes{}, response), ERROR_INVALID_HANDLE);
}

TEST_F(RpcConnectionTest, LargeRequestIsSplitIntoFragmentsTheServerAccepts) {
    ASSERT_EQ(Bind(1024), ERROR_SUCCESS);
    const Bytes stub = Pattern(5001);
    Queue(ResponsePdu(2, PFC_FIRST_FRAG | PFC_LAST_FRAG, Bytes{0, 0, 0, 0}));
    Bytes response;
    ASSERT_EQ(connection_.Call(22, stub, response), ERROR_SUCCESS);

    Bytes joined;
    const std::size_t fragments = pipe_.written.size() - 1;
    EXPECT_EQ(fragments, 6u);  // 1000 stub bytes per 1024-byte fragment
    std::uint32_t expectedHint = 5001;
    for (std::size_t i = 1; i <= fragments; ++i) {
        const Bytes& pdu = pipe_.written[i];
        EXPECT_LE(pdu.size(), 1024u);
        EXPECT_EQ(pdu[3] & PFC_FIRST_FRAG, i == 1 ? PFC_FIRST_FRAG : 0);
        EXPECT_EQ(pdu[3] & PFC_LAST_FRAG, i == fragments ? PFC_LAST_FRAG : 0);
        const std::uint32_t hint = pdu[16] | (pdu[17] << 8) | (pdu[18] << 16) | (pdu[19] << 24);
        EXPECT_EQ(hint, expectedHint);
        EXPECT_EQ(pdu[22] | (pdu[23] << 8), 22);  // opnum in every fragment
        joined.insert(joined.end(), pdu.begin() + 24, pdu.end());
        expectedHint -= static_cast<std::uint32_t>(pdu.size() - 24);
    }
    EXPECT_EQ(joined, stub);
}

TEST_F(RpcConnectionTest, ResponseFragmentsAreJoinedAndReadExactly) {
    ASSERT_EQ(Bind(), ERROR_SUCCESS);
    const Bytes stub = Pattern(12008);
    const std::span<const std::uint8_t> all(stub);
    Queue(ResponsePdu(2, PFC_FIRST_FRAG, all.subspan(0, 4256)));
    Queue(ResponsePdu(2, 0, all.subspan(4256, 4256)));
    Queue(ResponsePdu(2, PFC_LAST_FRAG, all.subspan(8512)));
    Bytes response;
    ASSERT_EQ(connection_.Call(17, Bytes{1, 2, 3, 4}, response), ERROR_SUCCESS);
    EXPECT_EQ(response, stub);
    EXPECT_TRUE(pipe_.toRead.empty());
    EXPECT_LE(pipe_.largestRead, 4280u - 16u);  // never more than one fragment asks
}

TEST_F(RpcConnectionTest, FaultsBecomeWindowsStatuses) {
    ASSERT_EQ(Bind(), ERROR_SUCCESS);
    Bytes response;
    Queue(FaultPdu(2, 5));
    EXPECT_EQ(connection_.Call(1, Bytes{}, response), ERROR_ACCESS_DENIED);
    Queue(FaultPdu(3, 0x1C010002));
    EXPECT_EQ(connection_.Call(99, Bytes{}, response), RPC_S_PROCNUM_OUT_OF_RANGE);
    Queue(FaultPdu(4, 0xC0000001));
    EXPECT_EQ(connection_.Call(1, Bytes{}, response), RPC_S_CALL_FAILED);
}

TEST(RpcConnectionAnswers, MisbehavingServersAreProtocolErrors) {
    const auto fragment = [](std::uint32_t callId, std::uint8_t flags, std::size_t at, std::uint8_t value) {
        Bytes pdu = ResponsePdu(callId, flags, Bytes{});
        pdu[at] = value;
        return pdu;
    };
    Bytes emptyFragments;
    const Bytes middle = ResponsePdu(2, 0, Bytes{});
    for (std::size_t i = 0; i < RpcConnection::kMaxResponseFragments; ++i) {
        const Bytes next = i == 0 ? ResponsePdu(2, PFC_FIRST_FRAG, Bytes{}) : middle;
        emptyFragments.insert(emptyFragments.end(), next.begin(), next.end());
    }
    const Bytes last = ResponsePdu(2, PFC_LAST_FRAG, Bytes{});
    emptyFragments.insert(emptyFragments.end(), last.begin(), last.end());
    const struct {
        const char* what;
        Bytes answer;
    } cases[] = {
        {"another call's answer", ResponsePdu(7, PFC_FIRST_FRAG | PFC_LAST_FRAG, Bytes{})},
        {"a middle fragment first", ResponsePdu(2, PFC_LAST_FRAG, Bytes{1})},
        {"shorter than the header itself", fragment(2, PFC_FIRST_FRAG | PFC_LAST_FRAG, 8, 10)},
        {"big-endian integers", fragment(2, PFC_FIRST_FRAG | PFC_LAST_FRAG, 4, 0x00)},
        {"empty fragments without end", emptyFragments},
    };
    for (const auto& c : cases) {
        ScriptedPipe::Shared pipe;
        RpcConnection connection(std::make_unique<ScriptedPipe>(pipe));
        const Bytes ack = BindAckPdu(1, 4280);
        pipe.toRead.assign(ack.begin(), ack.end());
        ASSERT_EQ(connection.Bind(winreg::Interface()), ERROR_SUCCESS) << c.what;
        pipe.toRead.insert(pipe.toRead.end(), c.answer.begin(), c.answer.end());
        Bytes response;
        EXPECT_EQ(connection.Call(1, Bytes{}, response), RPC_S_PROTOCOL_ERROR) << c.what;
    }
}

TEST_F(RpcConnectionTest, PipeThatEndsMidFragmentFailsTheCall) {
    ASSERT_EQ(Bind(), ERROR_SUCCESS);
    Bytes pdu = ResponsePdu(2, PFC_FIRST_FRAG | PFC_LAST_FRAG, Pattern(100));
    pdu.resize(60);
    Queue(pdu);
    Bytes response;
    EXPECT_EQ(connection_.Call(1, Bytes{}, response), ERROR_BROKEN_PIPE);
    // Whatever comes next would be read as the rest of that answer.
    Queue(ResponsePdu(3, PFC_FIRST_FRAG | PFC_LAST_FRAG, Bytes{1, 2}));
    EXPECT_EQ(connection_.Call(1, Bytes{}, response), ERROR_BROKEN_PIPE);
}

TEST_F(RpcConnectionTest, AFaultLeavesTheConnectionUsable) {
    ASSERT_EQ(Bind(), ERROR_SUCCESS);
    Bytes response;
    Queue(FaultPdu(2, 5));
    EXPECT_EQ(connection_.Call(1, Bytes{}, response), ERROR_ACCESS_DENIED);
    Queue(ResponsePdu(3, PFC_FIRST_FRAG | PFC_LAST_FRAG, Bytes{1, 2}));
    EXPECT_EQ(connection_.Call(1, Bytes{}, response), ERROR_SUCCESS);
    EXPECT_EQ(response, (Bytes{1, 2}));
}

TEST_F(RpcConnectionTest, EveryPartOfACallSharesOneDeadlineWithinTheThreadsScope) {
    using namespace std::chrono_literals;
    ASSERT_EQ(Bind(1024), ERROR_SUCCESS);
    const Bytes stub = Pattern(5000);
    const std::span<const std::uint8_t> all(stub);
    Queue(ResponsePdu(2, PFC_FIRST_FRAG, all.subspan(0, 2500)));
    Queue(ResponsePdu(2, PFC_LAST_FRAG, all.subspan(2500)));
    pipe_.deadlines.clear();
    const auto before = std::chrono::steady_clock::now();
    Bytes response;
    {
        RemoteDeadlineScope examination(50ms);
        ASSERT_EQ(connection_.Call(22, stub, response), ERROR_SUCCESS);
    }
    // Several request fragments, two reads per response fragment: all of them
    // end by the one deadline the call got, which the scope brought forward.
    ASSERT_GE(pipe_.deadlines.size(), 6u);
    for (const auto& deadline : pipe_.deadlines)
        EXPECT_EQ(deadline, pipe_.deadlines.front());
    EXPECT_LE(pipe_.deadlines.front(), std::chrono::steady_clock::now() + 50ms);
    EXPECT_GE(pipe_.deadlines.front(), before + 50ms);

    // Outside the scope the call's own limit counts again.
    pipe_.deadlines.clear();
    Queue(ResponsePdu(3, PFC_FIRST_FRAG | PFC_LAST_FRAG, Bytes{}));
    ASSERT_EQ(connection_.Call(22, Bytes{}, response), ERROR_SUCCESS);
    EXPECT_GT(pipe_.deadlines.front(), std::chrono::steady_clock::now() + 5s);

    // And it too is one deadline for every part: an answer that drips in ten
    // reads, each well within the limit, ends by it.
    ScriptedPipe::Shared dripping;
    RpcConnection limited(std::make_unique<ScriptedPipe>(dripping), 200ms);
    const Bytes ack = BindAckPdu(1, 4280);
    dripping.toRead.assign(ack.begin(), ack.end());
    ASSERT_EQ(limited.Bind(winreg::Interface()), ERROR_SUCCESS);
    for (std::size_t i = 0; i < 5; ++i) {
        const Bytes part = ResponsePdu(2, i == 0 ? PFC_FIRST_FRAG : (i == 4 ? PFC_LAST_FRAG : 0), all.subspan(i, 1));
        dripping.toRead.insert(dripping.toRead.end(), part.begin(), part.end());
    }
    dripping.drip = 40ms;
    EXPECT_EQ(limited.Call(22, Bytes{}, response), ERROR_SEM_TIMEOUT);
}

}  // namespace
}  // namespace vn::smb

// What one winreg pipe saves its keys: a predefined key opened once, closed
// keys' handles that travel only when many pile up, a value read for its
// size that is not read again for its bytes. The server is scripted.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "RpcTestPdus.h"
#include "ScriptedPipe.h"
#include "platform/RegistryValues.h"
#include "platform/smb/RegistryPipe.h"
#include "platform/smb/SmbRegistryKey.h"
#include "platform/smb/rpc/NdrWriter.h"
#include "platform/smb/rpc/Winreg.h"

namespace vn::smb {
namespace {

using testing::ScriptedPipe;
using Bytes = std::vector<std::uint8_t>;

constexpr std::uint16_t kCloseKey = 5;
constexpr std::uint16_t kQueryValue = 17;

ContextHandle Handle(std::uint8_t first) {
    ContextHandle handle;
    handle.bytes[0] = first;
    return handle;
}

class RegistryPipeTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto connection = std::make_unique<RpcConnection>(std::make_unique<ScriptedPipe>(server_));
        Answer(testing::BindAckPdu(1, 4280));
        ASSERT_EQ(connection->Bind(winreg::Interface()), ERROR_SUCCESS);
        pipe_ = std::make_shared<RegistryPipe>(std::move(connection));
        server_.written.clear();
    }

    // The answer to the call with the next call id.
    template <class Response>
    void Answer(const Response& response) {
        NdrWriter w;
        w.Write(response);
        Answer(testing::ResponsePdu(nextCallId_, PFC_FIRST_FRAG | PFC_LAST_FRAG, w.data()));
    }
    void Answer(const Bytes& pdu) {
        server_.toRead.insert(server_.toRead.end(), pdu.begin(), pdu.end());
        ++nextCallId_;
    }

    // The opnums of the requests written since SetUp, in order.
    std::vector<std::uint16_t> Calls() const {
        std::vector<std::uint16_t> opnums;
        for (const Bytes& pdu : server_.written)
            opnums.push_back(static_cast<std::uint16_t>(pdu[22] | (pdu[23] << 8)));
        return opnums;
    }

    ScriptedPipe::Shared server_;
    std::shared_ptr<RegistryPipe> pipe_;
    std::uint32_t nextCallId_ = 1;
};

TEST_F(RegistryPipeTest, APredefinedKeyIsOpenedOnceAndClosedWithThePipe) {
    Answer(winreg::OpenLocalMachineResponse{.phKey = Handle(0x40)});
    ContextHandle first, second;
    ASSERT_EQ(pipe_->Predefined(Hive::LocalMachine, first), ERROR_SUCCESS);
    { SmbRegistryKey machine(pipe_, first, SmbRegistryKey::Handle::Pipes); }
    ASSERT_EQ(pipe_->Predefined(Hive::LocalMachine, second), ERROR_SUCCESS);
    EXPECT_EQ(second.bytes, first.bytes);
    EXPECT_EQ(Calls(), std::vector<std::uint16_t>{2});  // OpenLocalMachine, and no close

    // A refusal is not remembered: the next use asks again.
    Answer(winreg::OpenUsersResponse{.ErrorCode = ERROR_ACCESS_DENIED});
    Answer(winreg::OpenUsersResponse{.phKey = Handle(0x41)});
    EXPECT_EQ(pipe_->Predefined(Hive::Users, second), ERROR_ACCESS_DENIED);
    EXPECT_EQ(pipe_->Predefined(Hive::Users, second), ERROR_SUCCESS);
    EXPECT_EQ(second.bytes, Handle(0x41).bytes);
}

TEST_F(RegistryPipeTest, ClosedKeysTravelOnlyWhenManyPileUp) {
    const auto openAndClose = [&](std::uint8_t handle) {
        std::make_unique<SmbRegistryKey>(pipe_, Handle(handle)).reset();
    };
    for (std::size_t i = 1; i < RegistryPipe::kMaxReleased; ++i)
        openAndClose(static_cast<std::uint8_t>(i));
    EXPECT_TRUE(Calls().empty());
    for (std::size_t i = 0; i < RegistryPipe::kMaxReleased; ++i)
        Answer(winreg::BaseRegCloseKeyResponse{});
    openAndClose(0xFF);
    EXPECT_EQ(Calls(), std::vector<std::uint16_t>(RegistryPipe::kMaxReleased, kCloseKey));
    EXPECT_TRUE(server_.toRead.empty());
}

TEST_F(RegistryPipeTest, AValueReadForItsSizeIsNotReadAgainForItsBytes) {
    const auto text = [](const std::u16string& value) {
        Bytes wire;
        for (char16_t c : value) {
            wire.push_back(static_cast<std::uint8_t>(c));
            wire.push_back(static_cast<std::uint8_t>(c >> 8));
        }
        return winreg::BaseRegQueryValueResponse{
            .lpType = REG_SZ, .lpData = wire, .lpcbData = static_cast<std::uint32_t>(wire.size()), .lpcbLen = 0};
    };
    SmbRegistryKey key(pipe_, Handle(0x10), SmbRegistryKey::Handle::Pipes);
    std::string value;
    Answer(text(std::u16string(u"ServerNT\0", 9)));
    ASSERT_EQ(QueryStringValue(key, "ProductType", value), ERROR_SUCCESS);
    EXPECT_EQ(value, "ServerNT");
    EXPECT_EQ(Calls(), std::vector<std::uint16_t>{kQueryValue});

    // What a size query read serves the one data query of the same value
    // that follows it, and nothing else.
    const struct {
        const char* name;
        const char* queried;
        bool writeBetween;
        int dataQueries;
        int reads;  // of the value by the server
    } cases[] = {
        {"the same value", "ProductType", false, 1, 1},
        {"the same value twice", "ProductType", false, 2, 2},
        {"after a write", "ProductType", true, 1, 2},
        {"another value", "Other", false, 1, 2},
    };
    for (const auto& c : cases) {
        server_.written.clear();
        const auto winNt = text(std::u16string(u"WinNT\0", 6));
        Answer(winNt);
        std::uint32_t size = 0;
        ASSERT_EQ(key.QueryValue("ProductType", nullptr, nullptr, &size), ERROR_SUCCESS) << c.name;
        EXPECT_EQ(size, 6u) << c.name;
        if (c.writeBetween) {
            Answer(winreg::BaseRegSetValueResponse{});
            const std::uint8_t dword[4] = {};
            ASSERT_EQ(key.SetValue("Count", REG_DWORD, dword, sizeof dword), ERROR_SUCCESS) << c.name;
        }
        for (int i = 1; i < c.reads; ++i)
            Answer(winNt);
        for (int i = 0; i < c.dataQueries; ++i) {
            std::uint8_t data[16] = {};
            size = sizeof data;
            ASSERT_EQ(key.QueryValue(c.queried, nullptr, data, &size), ERROR_SUCCESS) << c.name;
            EXPECT_STREQ(reinterpret_cast<const char*>(data), "WinNT") << c.name;
        }
        const std::vector<std::uint16_t> calls = Calls();
        EXPECT_EQ(std::count(calls.begin(), calls.end(), kQueryValue), c.reads) << c.name;
        EXPECT_TRUE(server_.toRead.empty()) << c.name;
    }
}

}  // namespace
}  // namespace vn::smb

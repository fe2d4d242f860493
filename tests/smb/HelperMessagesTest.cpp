// The framed protocol between the programs and their SMB helpers: what each
// side accepts, and the framing on a real socket pair.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>
#include <array>
#include <thread>

#include "platform/smb/protocol/FrameChannel.h"
#include "platform/smb/protocol/HelperMessages.h"

namespace vn::smb::helper {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Body(const Bytes& frame) { return Bytes(frame.begin() + kFrameLengthSize, frame.end()); }

TEST(HelperMessagesTest, EveryMessageSurvivesItsWayThrough) {
    const std::vector<Request> requests = {
        Logon{true, "someone", "p\xC3\xA4ss word", "DOM"},
        OpenPipe{"pc-1.example.com", "winreg"},
        WritePipe{7, Bytes(kMaxReadSize, 0xAB)},
        ReadPipe{7, kMaxReadSize},
        ClosePipe{7},
        Browse{"smb://"},
        Browse{"smb://VNLAB"},
        TransactPipe{7, Bytes(kMaxReadSize, 0xCD)},
        TransactPipe{7, {}},  // only the read
    };
    for (const Request& request : requests) {
        const Bytes frame = EncodeRequest(request);
        EXPECT_EQ(FrameBodyLength(frame.data()), frame.size() - kFrameLengthSize);
        Request back;
        ASSERT_TRUE(DecodeRequest(Body(frame), back)) << request.index();
        EXPECT_EQ(EncodeRequest(back), frame) << request.index();
    }
    const std::vector<Reply> replies = {
        Done{},
        Opened{42},
        Failed{ETIMEDOUT},
        Data{Bytes(kMaxReadSize, 1)},
        Ended{},
        BrowseEntry{EntryKind::PrinterShare, "printer", "a printer"},
    };
    for (const Reply& reply : replies) {
        const Bytes frame = EncodeReply(reply);
        Reply back;
        ASSERT_TRUE(DecodeReply(Body(frame), back)) << reply.index();
        EXPECT_EQ(EncodeReply(back), frame) << reply.index();
    }
}

Bytes Text(std::initializer_list<std::uint8_t> head, const std::string& text = {}) {
    Bytes bytes(head);
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

// An OpenPipe body as a careless or hostile program could write it.
Bytes RawOpen(const std::string& host, const std::string& pipe) {
    Bytes bytes = {2};
    for (const std::string* text : {&host, &pipe}) {
        bytes.push_back(static_cast<std::uint8_t>(text->size()));
        bytes.push_back(static_cast<std::uint8_t>(text->size() >> 8));
        bytes.insert(bytes.end(), text->begin(), text->end());
    }
    return bytes;
}

TEST(HelperMessagesTest, RequestsOutOfShapeAreRefused) {
    const struct {
        const char* what;
        Bytes body;
    } cases[] = {
        {"empty", {}},
        {"unknown type", {99}},
        {"a reply's type", {64}},
        {"logon flags beyond kerberos", Text({1, 2, 0, 0, 0, 0, 0, 0})},
        {"logon missing its domain", Text({1, 0, 0, 0, 0, 0})},
        {"string longer than the frame", Text({2, 9, 0}, "pc")},
        {"NUL inside a host", RawOpen(std::string("p\0c", 3), "winreg")},
        {"host that bends the URL", RawOpen("a/b", "winreg")},
        {"host with leading backslashes", RawOpen("\\\\pc", "winreg")},
        {"host too long", RawOpen(std::string(kMaxHostName + 1, 'a'), "winreg")},
        {"pipe name with a path", RawOpen("pc", "\\PIPE\\winreg")},
        {"pipe name empty", RawOpen("pc", "")},
        {"write without bytes", {3, 1, 0, 0, 0}},
        {"read of nothing", {4, 1, 0, 0, 0, 0, 0, 0, 0}},
        {"read beyond a fragment", {4, 1, 0, 0, 0, 0, 0, 1, 0}},
        {"close with a trailing byte", {5, 1, 0, 0, 0, 9}},
        {"browse of a share path", Text({6, 15, 0}, "smb://pc/share$")},
        {"browse of another scheme", Text({6, 8, 0}, "file:///")},
    };
    for (const auto& c : cases) {
        Request request;
        EXPECT_FALSE(DecodeRequest(c.body, request)) << c.what;
    }
    for (const Request& largest :
         {Request{WritePipe{1, Bytes(kMaxReadSize, 0)}}, Request{TransactPipe{1, Bytes(kMaxReadSize, 0)}}}) {
        Bytes huge = EncodeRequest(largest);
        huge.push_back(0);  // one byte beyond the largest write
        Request request;
        EXPECT_FALSE(DecodeRequest(Body(huge), request)) << largest.index();
    }
}

TEST(HelperMessagesTest, APdusLengthComesFromItsHeaderInItsByteOrder) {
    const auto header = [](std::uint8_t drep, std::uint8_t at8, std::uint8_t at9) {
        std::array<std::uint8_t, kPduHeaderBytes> bytes{5, 0, 2, 3, drep};
        bytes[8] = at8;
        bytes[9] = at9;
        return bytes;
    };
    const struct {
        const char* what;
        std::array<std::uint8_t, kPduHeaderBytes> header;
        std::size_t length;
    } cases[] = {
        {"little-endian", header(0x10, 0xB8, 0x10), 4280},
        {"big-endian", header(0x00, 0x10, 0xB8), 4280},
        {"the header alone", header(0x10, 16, 0), 16},
        {"shorter than its header", header(0x10, 15, 0), 0},
        {"nothing", header(0x10, 0, 0), 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PduLength(c.header), c.length) << c.what;
}

TEST(HelperMessagesTest, RepliesOutOfShapeAreRefused) {
    const struct {
        const char* what;
        Bytes body;
    } cases[] = {
        {"empty", {}},
        {"a request's type", {1}},
        {"done with a trailing byte", {64, 0}},
        {"opened without a handle", {65, 1, 0}},
        {"failure without an errno", {66, 0, 0, 0, 0}},
        {"failure with a negative errno", {66, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"data of nothing", {67}},
        {"entry of no kind", Text({69, 0, 0, 0, 0, 0})},
        {"entry of an unknown kind", Text({69, 5, 0, 0, 0, 0})},
        {"entry whose comment runs out", Text({69, 1, 1, 0, 'A', 5, 0, 'x'})},
    };
    for (const auto& c : cases) {
        Reply reply;
        EXPECT_FALSE(DecodeReply(c.body, reply)) << c.what;
    }
}

class FrameChannelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends_), 0); }
    void TearDown() override {
        for (int fd : ends_) {
            if (fd >= 0)
                close(fd);
        }
    }
    static FrameChannel::Deadline Soon() { return std::chrono::steady_clock::now() + std::chrono::milliseconds(50); }

    int ends_[2] = {-1, -1};
};

TEST_F(FrameChannelTest, FramesArriveWholeAndInOrder) {
    FrameChannel program(ends_[0]), helper(ends_[1]);
    const Bytes first = EncodeRequest(OpenPipe{"pc", "srvsvc"});
    const Bytes second = EncodeRequest(WritePipe{3, Bytes(60000, 7)});
    ASSERT_EQ(program.Send(first, Soon()), FrameChannel::Result::Ok);
    std::thread sender([&] { EXPECT_EQ(program.Send(second, Soon()), FrameChannel::Result::Ok); });
    Bytes body;
    EXPECT_EQ(helper.Receive(body, Soon()), FrameChannel::Result::Ok);
    EXPECT_EQ(body, Body(first));
    EXPECT_EQ(helper.Receive(body, Soon()), FrameChannel::Result::Ok);
    EXPECT_EQ(body, Body(second));
    sender.join();
}

TEST_F(FrameChannelTest, LengthsOutOfBoundsAreRefusedBeforeAnythingIsAllocated) {
    FrameChannel helper(ends_[1]);
    for (const Bytes& length : {Bytes{0, 0, 0, 0}, Bytes{0xFF, 0xFF, 0xFF, 0xFF}, Bytes{0x10, 0x00, 0x01, 0x00}}) {
        ASSERT_EQ(write(ends_[0], length.data(), length.size()), 4);
        Bytes body;
        EXPECT_EQ(helper.Receive(body, Soon()), FrameChannel::Result::Malformed);
        EXPECT_TRUE(body.empty());
    }
}

TEST_F(FrameChannelTest, SilenceTimesOutAndAClosedEndIsClosed) {
    FrameChannel helper(ends_[1]);
    Bytes body;
    EXPECT_EQ(helper.Receive(body, Soon()), FrameChannel::Result::TimedOut);
    const Bytes half = {8, 0, 0, 0, 2};  // a frame cut short
    ASSERT_EQ(write(ends_[0], half.data(), half.size()), 5);
    close(ends_[0]);
    ends_[0] = -1;
    EXPECT_EQ(helper.Receive(body, Soon()), FrameChannel::Result::Closed);
    EXPECT_EQ(helper.Send(EncodeReply(Done{}), Soon()), FrameChannel::Result::Closed);
}

}  // namespace
}  // namespace vn::smb::helper

#include "platform/smb/helper/HelperServer.h"

#include <string.h>
#include <cerrno>

#include "platform/smb/protocol/FrameChannel.h"

namespace vn::smb::helper {

namespace {

void Wipe(std::vector<std::uint8_t>& bytes) {
    if (!bytes.empty())
        explicit_bzero(bytes.data(), bytes.size());
}

void Wipe(std::string& text) {
    if (!text.empty())
        explicit_bzero(text.data(), text.size());
}

class Server {
public:
    Server(int fd, const SessionFactory& makeSession) : channel_(fd), makeSession_(makeSession) {}

    int Run() {
        std::vector<std::uint8_t> body;
        for (;;) {
            const FrameChannel::Result received = channel_.Receive(body);
            if (received == FrameChannel::Result::Closed)
                return 0;
            Request request;
            const bool decoded = received == FrameChannel::Result::Ok && DecodeRequest(body, request);
            Wipe(body);  // a logon's password
            if (!decoded || !Serve(request))
                return 1;
        }
    }

private:
    bool Reply(const helper::Reply& reply) { return channel_.Send(EncodeReply(reply)) == FrameChannel::Result::Ok; }

    bool Answer(int error) { return error == 0 ? Reply(Done{}) : Reply(Failed{error}); }

    // False ends the helper: a broken program side or a request out of order.
    bool Serve(Request& request) {
        if (auto* logon = std::get_if<Logon>(&request)) {
            if (session_)
                return false;  // credentials come once
            const int error = makeSession_(*logon, session_);
            Wipe(logon->password);
            return Answer(error);
        }
        if (!session_)
            return false;
        if (const auto* open = std::get_if<OpenPipe>(&request)) {
            std::uint32_t handle = 0;
            const int error = session_->OpenPipe(open->host, open->pipe, handle);
            return error == 0 ? Reply(Opened{handle}) : Reply(Failed{error});
        }
        if (const auto* write = std::get_if<WritePipe>(&request))
            return Answer(session_->Write(write->handle, write->bytes));
        if (const auto* read = std::get_if<ReadPipe>(&request)) {
            Data data;
            data.bytes.resize(read->size);
            bool ended = false;
            const int error = session_->Read(read->handle, data.bytes, ended);
            if (error != 0)
                return Reply(Failed{error});
            return ended ? Reply(Ended{}) : Reply(data);
        }
        if (const auto* transact = std::get_if<TransactPipe>(&request))
            return Transact(*transact);
        if (const auto* close = std::get_if<ClosePipe>(&request)) {
            session_->Close(close->handle);
            return Reply(Done{});
        }
        const auto& browse = std::get<Browse>(request);
        bool sent = true;
        const int error = session_->Browse(browse.url, [&](const BrowseEntry& entry) { sent = sent && Reply(entry); });
        return sent && Answer(error);
    }

    // The write, then the PDU's header and the rest of it as the header says.
    bool Transact(const TransactPipe& transact) {
        if (!transact.bytes.empty()) {
            if (const int error = session_->Write(transact.handle, transact.bytes); error != 0)
                return Reply(Failed{error});
        }
        Data pdu;
        pdu.bytes.resize(kPduHeaderBytes);
        bool ended = false;
        if (const int error = session_->Read(transact.handle, pdu.bytes, ended); error != 0)
            return Reply(Failed{error});
        if (ended)
            return Reply(Ended{});
        const std::size_t length = PduLength(std::span<const std::uint8_t, kPduHeaderBytes>(pdu.bytes));
        if (length == 0)
            return Reply(Failed{EPROTO});
        pdu.bytes.resize(length);
        if (length > kPduHeaderBytes) {
            const std::span<std::uint8_t> rest = std::span<std::uint8_t>(pdu.bytes).subspan(kPduHeaderBytes);
            if (const int error = session_->Read(transact.handle, rest, ended); error != 0)
                return Reply(Failed{error});
            if (ended)
                return Reply(Ended{});
        }
        return Reply(pdu);
    }

    FrameChannel channel_;
    const SessionFactory& makeSession_;
    std::unique_ptr<HelperSession> session_;
};

}  // namespace

int RunHelperServer(int fd, const SessionFactory& makeSession) { return Server(fd, makeSession).Run(); }

}  // namespace vn::smb::helper

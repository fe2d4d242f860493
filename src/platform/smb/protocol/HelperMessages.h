#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

// The messages between the programs and their SMB helper processes. On the
// socket every message is one frame: a 32-bit little-endian length, then that
// many bytes: a type byte and the type's fields. Strings are a 16-bit length
// and that many bytes, never a NUL among them. Every request gets its replies
// in order: one Done, Opened, Failed, Data or Ended, after any BrowseEntry
// frames of a Browse.
namespace vn::smb::helper {

// The largest frame body: a pipe read or write of a whole 16-bit fragment,
// with room for the type and the handle.
inline constexpr std::size_t kMaxFrameBody = 65535 + 16;
inline constexpr std::size_t kFrameLengthSize = 4;

// Bounds of the fields, checked on both sides.
inline constexpr std::size_t kMaxAccountText = 1024;  // user, password, domain
inline constexpr std::size_t kMaxHostName = 255;
inline constexpr std::size_t kMaxPipeName = 64;
inline constexpr std::size_t kMaxUrl = 1024;
inline constexpr std::size_t kMaxEntryText = 1024;  // browse entry names and comments
inline constexpr std::uint32_t kMaxReadSize = 65535;

// Requests, from a program to its helper.
struct Logon {  // first request: the credentials every later logon uses
    bool kerberos = false;
    std::string user;
    std::string password;
    std::string domain;
};
struct OpenPipe {  // smb://host/IPC$/pipe
    std::string host;
    std::string pipe;
};
struct WritePipe {
    std::uint32_t handle = 0;
    std::vector<std::uint8_t> bytes;
};
struct ReadPipe {  // exactly size bytes, never more
    std::uint32_t handle = 0;
    std::uint32_t size = 0;
};
struct ClosePipe {
    std::uint32_t handle = 0;
};
struct Browse {  // smb://, smb://WORKGROUP or smb://SERVER
    std::string url;
};
// Writes bytes (when there are any: none only reads) and reads the next
// whole DCE/RPC PDU, whose common header gives its length: one request and
// one answer for what took a write and two reads.
struct TransactPipe {
    std::uint32_t handle = 0;
    std::vector<std::uint8_t> bytes;
};
using Request = std::variant<Logon, OpenPipe, WritePipe, ReadPipe, ClosePipe, Browse, TransactPipe>;

// Replies, from a helper to its program.
struct Done {};
struct Opened {
    std::uint32_t handle = 0;
};
struct Failed {  // the errno that libsmbclient reported, never 0
    std::int32_t error = 0;
};
struct Data {  // exactly what a ReadPipe asked for, or a TransactPipe's PDU
    std::vector<std::uint8_t> bytes;
};
struct Ended {};  // the pipe ended before the bytes asked for (or a whole PDU)
enum class EntryKind : std::uint8_t { Workgroup = 1, Server = 2, FileShare = 3, PrinterShare = 4 };
struct BrowseEntry {
    EntryKind kind = EntryKind::Workgroup;
    std::string name;
    std::string comment;
};
using Reply = std::variant<Done, Opened, Failed, Data, Ended, BrowseEntry>;

// The whole frame, length included.
std::vector<std::uint8_t> EncodeRequest(const Request& request);
std::vector<std::uint8_t> EncodeReply(const Reply& reply);

// From a frame body (length excluded); false when it is not exactly one
// well-formed message of its direction.
bool DecodeRequest(std::span<const std::uint8_t> body, Request& request);
bool DecodeReply(std::span<const std::uint8_t> body, Reply& reply);

// The body length a frame's first four bytes announce.
std::uint32_t FrameBodyLength(const std::uint8_t* lengthBytes);

// A DCE/RPC PDU's length from its 16-byte common header (the fragment
// length, in the byte order the header's data representation gives); 0 when
// it is shorter than the header itself.
inline constexpr std::size_t kPduHeaderBytes = 16;
std::size_t PduLength(std::span<const std::uint8_t, kPduHeaderBytes> header);

}  // namespace vn::smb::helper

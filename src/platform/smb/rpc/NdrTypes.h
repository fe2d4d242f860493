#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "platform/smb/rpc/NdrReader.h"
#include "platform/smb/rpc/NdrWriter.h"

// The NDR kinds a declaration (NdrFields.h) wraps fields in. A kind refers to
// an lvalue it is given and holds a copy of anything else; a referent is read
// or written through a copy of its pointer's kind when the parameter ends.
namespace vn::smb {

// A context handle (policy handle): 20 opaque bytes chosen by the server.
struct ContextHandle {
    std::array<std::uint8_t, 20> bytes{};

    bool IsNull() const;
    void Write(NdrWriter& w) const;
    void Read(NdrReader& r);
};

// A [unique] pointer. Written null when present is false or the referent an
// empty optional; read, it fills the optional and sets a bool& present.
template <class Referent, class Present>
struct UniquePointer {
    Referent referent;
    Present present;

    static constexpr bool kOptional = requires(Referent & r) { r.has_value(); };
    static decltype(auto) Target(auto& field) {
        if constexpr (kOptional)
            return *field;
        else
            return (field);
    }
    void Write(NdrWriter& w) const {
        bool here = present;
        if constexpr (kOptional)
            here = here && referent.has_value();
        w.Pointer(here);
        if (here)
            w.Defer([self = *this](NdrWriter& out) { out.Put(Target(self.referent)); });
    }
    void Read(NdrReader& r) const {
        const bool here = r.Pointer();
        if constexpr (std::is_same_v<Present, bool&>)
            present = here;
        if (!here)
            return;
        if constexpr (kOptional)
            referent.emplace();
        r.Defer([self = *this](NdrReader& in) { in.Get(Target(self.referent)); });
    }
};
template <class T>
UniquePointer<T, bool> Unique(T&& referent) {
    return {std::forward<T>(referent), true};
}
template <class T, class P>
UniquePointer<T, P> Unique(T&& referent, P&& present) {
    return {std::forward<T>(referent), std::forward<P>(present)};
}

// A pointer this side always sends null; a referent in an answer is an error.
struct NullPointer {
    void Write(NdrWriter& w) const { w.Pointer(false); }
    void Read(NdrReader& r) const {
        if (r.Pointer())
            throw NdrError("unexpected referent");
    }
};
inline NullPointer Null() { return {}; }

// A value the protocol fixes (a level, a union's discriminant); read, any
// other value is an error.
template <class T>
struct FixedValue {
    T value;

    void Write(NdrWriter& w) const { w.Put(value); }
    void Read(NdrReader& r) const {
        T found{};
        r.Get(found);
        if (found != value)
            throw NdrError("unexpected fixed value");
    }
};
template <class T>
FixedValue<T> Fixed(T value) {
    return {value};
}

// A structure spelled out in place.
template <class... F>
struct Members {
    std::tuple<F...> fields;

    void Write(NdrWriter& w) const {
        std::apply([&w](const auto&... field) { (w.Put(field), ...); }, fields);
    }
    void Read(NdrReader& r) const {
        std::apply([&r](auto&... field) { (r.Get(field), ...); }, fields);
    }
};
template <class... F>
Members<F...> Struct(F&&... fields) {
    return {std::tuple<F...>(std::forward<F>(fields)...)};
}

// A non-encapsulated union of which this side knows one arm, a pointer: the
// discriminant, then the arm. A null arm may come with any discriminant.
template <class Arm>
struct UnionArmAt {
    std::uint32_t level;
    Arm arm;

    void Write(NdrWriter& w) const {
        w.U32(level);
        w.Put(arm);
    }
    void Read(NdrReader& r) const {
        if (r.U32() == level)
            r.Get(arm);
        else if (r.Pointer())
            throw NdrError("unexpected union arm");
    }
};
template <class Arm>
UnionArmAt<Arm> UnionArm(std::uint32_t level, Arm arm) {
    return {level, std::move(arm)};
}

// The wire size of a T's scalars, a lower bound for each element of an array
// of T that a count announces.
template <class T, class Wrap>
std::size_t ScalarBytes() {
    static const std::size_t bytes = [] {
        T item{};
        NdrWriter w;
        w.Put(Wrap{}(item));
        return w.data().size();
    }();
    return bytes;
}

struct AsIs {
    template <class T>
    T& operator()(T& item) const {
        return item;
    }
};
struct NoCount {};

// A conformant array: its size, then the elements, each given its kind by
// Wrap. Read, the size must fit the rest of the stub and match count, the
// field that announces it, when there is one.
template <class Items, class Count, class Wrap>
struct ConformantArray {
    Items items;
    Count count;

    void Write(NdrWriter& w) const {
        w.U32(static_cast<std::uint32_t>(items.size()));
        for (const auto& item : items)
            w.Put(Wrap{}(item));
    }
    void Read(NdrReader& r) const {
        using Item = typename std::remove_cvref_t<Items>::value_type;
        const std::uint32_t size = r.ConformantCount(ScalarBytes<Item, Wrap>());
        if constexpr (!std::is_same_v<Count, NoCount>) {
            if (size != count)
                throw NdrError("array size differs from its count");
        }
        items.resize(size);
        for (auto& item : items)
            r.Get(Wrap{}(item));
    }
};
template <class Wrap = AsIs, class Items>
ConformantArray<Items, NoCount, Wrap> Conformant(Items&& items) {
    return {std::forward<Items>(items), {}};
}
template <class Wrap = AsIs, class Items, class Count>
ConformantArray<Items, Count, Wrap> Conformant(Items&& items, Count&& count) {
    return {std::forward<Items>(items), std::forward<Count>(count)};
}

// A conformant varying byte array: maximum count, offset, actual count and
// the bytes; maximum offers the server room beyond the bytes sent.
template <class Bytes>
struct VaryingBytes {
    Bytes bytes;
    std::uint32_t maximum;

    void Write(NdrWriter& w) const {
        const auto actual = static_cast<std::uint32_t>(bytes.size());
        w.U32(std::max(maximum, actual));
        w.U32(0);
        w.U32(actual);
        w.Bytes(bytes.data(), bytes.size());
    }
    void Read(NdrReader& r) const { bytes = r.ByteVector(r.VaryingCount(1)); }
};
template <class Bytes>
VaryingBytes<Bytes> Varying(Bytes&& bytes, std::uint32_t maximum = 0) {
    return {std::forward<Bytes>(bytes), maximum};
}

// RPC_UNICODE_STRING: lengths in bytes, then a pointer to a conformant varying
// array of characters. The registry's RRP_UNICODE_STRING counts the
// terminating zero in both lengths; the LSA does not. Read, either gives the
// text up to its first zero.
void WriteUnicodeString(NdrWriter& w, std::u16string_view text, bool withTerminator);
void ReadUnicodeString(NdrReader& r, std::u16string& target);

template <class Text>
struct UnicodeString {
    Text text;
    bool withTerminator;

    void Write(NdrWriter& w) const { WriteUnicodeString(w, text, withTerminator); }
    void Read(NdrReader& r) const { ReadUnicodeString(r, text); }
};
inline UnicodeString<std::u16string&> RpcUnicodeString(std::u16string& text) { return {text, false}; }
inline UnicodeString<std::u16string_view> RpcUnicodeString(std::u16string_view text) { return {text, false}; }
inline UnicodeString<std::u16string&> RrpUnicodeString(std::u16string& text) { return {text, true}; }
inline UnicodeString<std::u16string_view> RrpUnicodeString(std::u16string_view text) { return {text, true}; }

struct AsRpcUnicodeString {
    auto operator()(auto& text) const { return RpcUnicodeString(text); }
};

// An empty RPC_UNICODE_STRING that offers the server maximumBytes of room.
struct UnicodeBuffer {
    std::uint16_t maximumBytes;

    void Write(NdrWriter& w) const;
};

}  // namespace vn::smb

#pragma once

// How a request or response declares its wire layout once, for NdrWriter and
// NdrReader alike: a static member that hands its fields in wire order,
//     static void Fields(auto& m, auto&& ndr) { ndr(m.hKey, RrpUnicodeString(m.lpSubKey), m.samDesired); }
// each field as itself (plain integers, ContextHandle, Sid, std::u16string as
// a [string] wchar_t array, a structure with its own Fields) or wrapped in the
// NDR kind of NdrTypes.h that its type does not say. m is const when the
// writer walks the list and mutable when the reader does. Each member of the
// IDL is a named member, a pointer always sent null too (NullPointer), and
// each has an initializer, so that a request names only the fields it sets:
//     BaseRegOpenKey{.hKey = handle, .lpSubKey = name, .samDesired = access}
namespace vn::smb {

struct AnyFieldVisitor {
    void operator()(auto&&...) const {}
};

template <class T>
concept HasFields = requires(T& t) {
    T::Fields(t, AnyFieldVisitor{});
};

}  // namespace vn::smb

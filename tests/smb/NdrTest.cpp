#include <gtest/gtest.h>

#include "platform/smb/rpc/NdrReader.h"
#include "platform/smb/rpc/NdrTypes.h"
#include "platform/smb/rpc/NdrWriter.h"
#include "platform/smb/rpc/Utf16.h"

namespace vn::smb {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(Ndr, ScalarsAreAlignedToTheirSizeFromTheStubStart) {
    NdrWriter w;
    w.U8(0xAA);
    w.U32(0x11223344);
    w.U8(0xBB);
    w.U16(0x5566);
    EXPECT_EQ(w.data(), (Bytes{0xAA, 0, 0, 0, 0x44, 0x33, 0x22, 0x11, 0xBB, 0, 0x66, 0x55}));

    NdrReader r(w.data());
    EXPECT_EQ(r.U8(), 0xAA);
    EXPECT_EQ(r.U32(), 0x11223344u);
    EXPECT_EQ(r.U8(), 0xBB);
    EXPECT_EQ(r.U16(), 0x5566);
    EXPECT_EQ(r.Remaining(), 0u);
}

TEST(Ndr, EmbeddedReferentsFollowTheStructureInOrder) {
    // A structure { wchar_t* a; u32 n; wchar_t* b; } with a = "x", b null,
    // followed by a second pointer to "yz": referents after all scalars.
    NdrWriter w;
    w.Pointer(true);
    w.Defer([](NdrWriter& out) { out.WideString(u"x"); });
    w.U32(7);
    w.Pointer(false);
    w.Pointer(true);
    w.Defer([](NdrWriter& out) { out.WideString(u"yz"); });
    w.FlushDeferred();

    NdrReader r(w.data());
    std::u16string a, b, c;
    r.Get(Unique(a));
    EXPECT_EQ(r.U32(), 7u);
    r.Get(Unique(b));
    r.Get(Unique(c));
    EXPECT_TRUE(a.empty());  // read only when the referents are
    r.FlushDeferred();
    EXPECT_EQ(a, u"x");
    EXPECT_EQ(b, u"");
    EXPECT_EQ(c, u"yz");
    EXPECT_EQ(r.Remaining(), 0u);
}

TEST(Ndr, ReferentIdsAreDistinctAndNullIsZero) {
    NdrWriter w;
    w.Pointer(true);
    w.Pointer(false);
    w.Pointer(true);
    NdrReader r(w.data());
    const auto first = r.U32();
    EXPECT_EQ(r.U32(), 0u);
    const auto third = r.U32();
    EXPECT_NE(first, 0u);
    EXPECT_NE(third, 0u);
    EXPECT_NE(first, third);
}

TEST(Ndr, RegistryNamesCountTheirTerminatorAndLsaNamesDoNot) {
    NdrWriter reg;
    WriteUnicodeString(reg, u"ab", true);
    reg.FlushDeferred();
    NdrReader regReader(reg.data());
    EXPECT_EQ(regReader.U16(), 6);  // "ab" and its zero
    EXPECT_EQ(regReader.U16(), 6);

    NdrWriter lsa;
    WriteUnicodeString(lsa, u"ab", false);
    lsa.FlushDeferred();
    NdrReader lsaReader(lsa.data());
    EXPECT_EQ(lsaReader.U16(), 4);

    // Both read back as the bare text.
    for (const auto* data : {&reg.data(), &lsa.data()}) {
        NdrReader r(*data);
        std::u16string text;
        ReadUnicodeString(r, text);
        r.FlushDeferred();
        EXPECT_EQ(text, u"ab");
        EXPECT_EQ(r.Remaining(), 0u);
    }
}

TEST(Ndr, HostileCountsAreRejectedBeforeAnythingIsAllocated) {
    // A varying array that claims 0x40000000 characters in a 16-byte stub.
    NdrWriter w;
    w.U32(0x40000000);
    w.U32(0);
    w.U32(0x40000000);
    w.U32(0x00410041);
    NdrReader r(w.data());
    EXPECT_THROW(r.WideString(), NdrError);

    NdrReader conformant(w.data());
    EXPECT_THROW(conformant.ConformantCount(4), NdrError);
}

// Each count is bound exactly by the whole elements that follow it: as many
// as are there pass, one more fails (a byte short of it being there too).
TEST(Ndr, CountsAreBoundExactlyByTheElementsThatFollow) {
    enum class Kind { Conformant, Varying, WideChars };
    for (const Kind kind : {Kind::Conformant, Kind::Varying, Kind::WideChars}) {
        for (const std::size_t size : {std::size_t{1}, std::size_t{2}, std::size_t{4}, std::size_t{12}}) {
            if (kind == Kind::WideChars && size != 2)
                continue;
            for (const std::uint32_t present : {0u, 3u}) {
                for (const std::uint32_t count : {present, present + 1}) {
                    SCOPED_TRACE(std::to_string(static_cast<int>(kind)) + " size " + std::to_string(size) +
                                 " present " + std::to_string(present) + " count " + std::to_string(count));
                    NdrWriter w;
                    if (kind != Kind::WideChars)
                        w.U32(count);
                    if (kind == Kind::Varying) {
                        w.U32(0);
                        w.U32(count);
                    }
                    const Bytes elements(present * size + size - 1, 0x41);
                    w.Bytes(elements.data(), elements.size());
                    NdrReader r(w.data());
                    const auto read = [&] {
                        if (kind == Kind::Conformant)
                            return r.ConformantCount(size);
                        if (kind == Kind::Varying)
                            return r.VaryingCount(size);
                        return static_cast<std::uint32_t>(r.WideChars(count).size());
                    };
                    if (count == present)
                        EXPECT_EQ(read(), count);
                    else
                        EXPECT_THROW(read(), NdrError);
                }
            }
        }
    }
}

TEST(Ndr, MalformedVaryingBoundsAndTruncationAreErrors) {
    NdrWriter offsetSet;  // offset must be 0
    offsetSet.U32(2);
    offsetSet.U32(1);
    offsetSet.U32(1);
    offsetSet.U16(0x41);
    NdrReader r1(offsetSet.data());
    EXPECT_THROW(r1.VaryingCount(2), NdrError);

    NdrWriter actualAboveMaximum;
    actualAboveMaximum.U32(1);
    actualAboveMaximum.U32(0);
    actualAboveMaximum.U32(2);
    actualAboveMaximum.U32(0);
    NdrReader r2(actualAboveMaximum.data());
    EXPECT_THROW(r2.VaryingCount(2), NdrError);

    const Bytes threeBytes{1, 2, 3};
    NdrReader r3(threeBytes);
    EXPECT_THROW(r3.U32(), NdrError);
}

TEST(Ndr, UnicodeStringWhoseLengthDisagreesWithItsArrayIsRejected) {
    NdrWriter w;
    w.U16(2);  // claims one character
    w.U16(8);
    w.Pointer(true);
    w.U32(4);
    w.U32(0);
    w.U32(3);  // but carries three
    w.U16('a');
    w.U16('b');
    w.U16('c');
    NdrReader r(w.data());
    std::u16string text;
    ReadUnicodeString(r, text);
    EXPECT_THROW(r.FlushDeferred(), NdrError);
}

TEST(Ndr, SidConformanceMustMatchItsSubAuthorityCount) {
    NdrWriter good;
    good.U32(2);
    good.U8(1);
    good.U8(2);
    const std::uint8_t authority[6] = {0, 0, 0, 0, 0, 5};
    good.Bytes(authority, 6);
    good.U32(21);
    good.U32(1000);
    NdrReader r(good.data());
    Sid sid;
    r.Get(sid);
    EXPECT_EQ(ConvertSidToStringSid(sid), "S-1-5-21-1000");

    Bytes bad = good.data();
    bad[5] = 3;  // SubAuthorityCount differs from the conformance
    NdrReader badReader(bad);
    EXPECT_THROW(badReader.Get(sid), NdrError);
}

TEST(Utf16, RoundTripsTextOutsideTheBasicPlane) {
    const std::string text =
        "Gr\xC3\xBC\xC3\x9F"
        "e \xF0\x9F\x98\x80";
    const std::u16string wide = Utf8ToUtf16(text);
    EXPECT_EQ(wide.size(), 8u);  // the emoji takes a surrogate pair
    EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(Utf16, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(Utf8ToUtf16("a\xFF"
                          "b"),
              (std::u16string{u'a', 0xFFFD, u'b'}));
    EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), (std::u16string{0xFFFD, 0xFFFD}));  // cut short
    EXPECT_EQ(Utf16ToUtf8(std::u16string{0xD800, u'x'}),
              "\xEF\xBF\xBD"
              "x");  // lone surrogate
}

}  // namespace
}  // namespace vn::smb

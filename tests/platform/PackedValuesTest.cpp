#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/local/hive/PackedValues.h"
#include "platform/local/hive/RegistryNames.h"

namespace vn {
namespace {

struct Added {
    std::string name;
    std::uint32_t type;
    std::string data;
};

std::string Describe(std::string_view packed) {
    std::vector<PackedValue> values;
    if (!UnpackValues(packed, values))
        return "malformed";
    std::string text;
    for (const PackedValue& value : values)
        text += std::string(value.name) + "=" + std::to_string(value.type) + ":" + std::string(value.data) + ";";
    return text;
}

TEST(PackedValuesTest, ValuesArePackedAsOneKeyHoldsThem) {
    struct Case {
        const char* what;
        std::vector<Added> stored;  // packed first, then packed over
        std::vector<Added> added;
        std::string expected;
    };
    const Case cases[] = {
        {"none", {}, {}, ""},
        {"in the order of folded names", {}, {{"b", 1, "x"}, {"A", 4, ""}, {"", 3, "d"}}, "=3:d;A=4:;b=1:x;"},
        {"twins: first spelling, last type and data",
         {},
         {{"Name", 1, "a"}, {"NAME", 4, "b"}, {"name", 3, "c"}},
         "Name=3:c;"},
        {"twins beyond ASCII", {}, {{"Ärger", 1, "a"}, {"äRGER", 1, "b"}}, "Ärger=1:b;"},
        {"set over stored: stored spelling, new data",
         {{"Count", 4, "1"}, {"Kept", 1, "k"}},
         {{"COUNT", 1, "2"}},
         "Count=1:2;Kept=1:k;"},
        {"set over stored: new names join in order",
         {{"B", 1, "b"}},
         {{"a", 1, "1"}, {"c", 1, "3"}},
         "a=1:1;B=1:b;c=1:3;"},
        {"binary data kept whole", {}, {{"Raw", 3, std::string("\0\xff\0", 3)}}, std::string("Raw=3:\0\xff\0;", 10)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FoldedNames folds;
        ValuePacker packer;
        std::string stored;
        for (const Added& value : c.stored)
            packer.Add(value.name, folds.Of(value.name), value.type, value.data);
        packer.Pack(stored);
        for (const Added& value : c.added)
            packer.Add(value.name, folds.Of(value.name), value.type, value.data);
        std::string packed;
        ASSERT_TRUE(packer.PackOver(stored, packed));
        EXPECT_EQ(Describe(packed), c.expected);
    }
}

TEST(PackedValuesTest, EveryCutOrOversizedLengthIsMalformed) {
    ValuePacker packer;
    packer.Add("Name", "NAME", 1, "data");
    packer.Add("Other", "OTHER", 4, "1234");
    std::string packed;
    packer.Pack(packed);
    ASSERT_EQ(Describe(packed), "Name=1:data;Other=4:1234;");
    // Cut anywhere but between two values.
    const std::size_t between = 4 + 4 + 4 + 4 + 4;
    for (std::size_t size = 1; size < packed.size(); ++size) {
        if (size != between) {
            EXPECT_EQ(Describe(packed.substr(0, size)), "malformed") << size;
        }
    }
    EXPECT_EQ(Describe(packed.substr(0, between)), "Name=1:data;");
    // A name or data size past the end, the largest one included.
    for (const std::size_t at : {std::size_t{0}, std::size_t{12}}) {
        std::string oversized = packed;
        oversized[at + 3] = '\xff';
        EXPECT_EQ(Describe(oversized), "malformed") << at;
    }
    std::string stored = packed.substr(0, 3);
    packer.Add("New", "NEW", 1, "n");
    std::string result = "untouched";
    EXPECT_FALSE(packer.PackOver(stored, result));
}

}  // namespace
}  // namespace vn

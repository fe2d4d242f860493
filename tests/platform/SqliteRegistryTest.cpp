#include <gtest/gtest.h>

#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <vector>

#include "platform/NameFolding.h"
#include "platform/RegistryTreeVisitor.h"
#include "platform/RegistryValues.h"
#include "platform/TempDirectory.h"
#include "platform/local/LocalStatusCodes.h"
#include "platform/local/hive/SqliteRegistry.h"

using namespace std::chrono_literals;
using namespace std::string_literals;

namespace vn {
namespace {

class SqliteRegistryTest : public ::testing::Test {
protected:
    SqliteRegistryTest() : registry_({dir_.File("user/hive.db"), dir_.File("machine/hive.db")}, 300ms) {}

    RegistryKeyPtr Root(Hive hive = Hive::CurrentUser) {
        RegistryKeyPtr root;
        EXPECT_EQ(registry_.Connect("", hive, root), ERROR_SUCCESS);
        return root;
    }
    RegistryKeyPtr Create(RegistryKey& parent, std::string_view path, std::uint32_t access = KEY_ALL_ACCESS) {
        RegistryKeyPtr key;
        EXPECT_EQ(parent.CreateKey(path, access, key), ERROR_SUCCESS) << path;
        return key;
    }
    static std::vector<std::string> SubKeys(RegistryKey& key) {
        std::vector<std::string> names;
        std::string name;
        for (std::uint32_t i = 0; key.EnumKey(i, name) == ERROR_SUCCESS; ++i)
            names.push_back(name);
        return names;
    }
    static std::string String(RegistryKey& key, std::string_view name) {
        std::string value;
        EXPECT_EQ(QueryStringValue(key, name, value), ERROR_SUCCESS) << name;
        return value;
    }

    TempDirectory dir_;
    SqliteRegistry registry_;
};

TEST_F(SqliteRegistryTest, MissingHiveFilesAreEmptyAndOnlyAWriteCreatesThem) {
    RegistryKeyPtr machine = Root(Hive::LocalMachine);
    RegistryKeyPtr key;
    EXPECT_EQ(machine->OpenKey("System\\CurrentControlSet\\Services\\Vantor", KEY_READ, key), ERROR_FILE_NOT_FOUND);
    std::string name;
    EXPECT_EQ(machine->EnumKey(0, name), ERROR_NO_MORE_ITEMS);
    std::uint32_t size = 0;
    EXPECT_EQ(machine->QueryValue("", nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(machine->DeleteTree("Software"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("machine")));

    RegistryKeyPtr user = Root();
    Create(*user, "Software\\Vantor Netwarden\\Settings");
    EXPECT_TRUE(std::filesystem::exists(dir_.File("user/hive.db")));
    EXPECT_FALSE(std::filesystem::exists(dir_.File("machine/hive.db")));
    // What the user found on the network is the user's alone, whatever the umask.
    struct stat info {};
    ASSERT_EQ(stat(dir_.File("user/hive.db").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST_F(SqliteRegistryTest, KeyNamesIgnoreCaseKeepSpellingAndTolerateATrailingSeparator) {
    RegistryKeyPtr root = Root();
    Create(*root, "Software\\Vantor Netwarden");
    RegistryKeyPtr again = Create(*root, "SOFTWARE\\vantor netwarden\\Settings");
    EXPECT_EQ(SubKeys(*root), std::vector<std::string>{"Software"});
    RegistryKeyPtr software;
    ASSERT_EQ(root->OpenKey("software\\", KEY_READ, software), ERROR_SUCCESS);
    EXPECT_EQ(SubKeys(*software), std::vector<std::string>{"Vantor Netwarden"});
    RegistryKeyPtr opened;
    EXPECT_EQ(root->OpenKey("Software\\VANTOR NETWARDEN\\settings\\", KEY_READ, opened), ERROR_SUCCESS);
    EXPECT_EQ(root->OpenKey("\\Software", KEY_READ, opened), ERROR_BAD_PATHNAME);
    EXPECT_EQ(root->OpenKey("Software\\Other", KEY_READ, opened), ERROR_FILE_NOT_FOUND);
    // Non-ASCII names fold too.
    Create(*root, "Grüße");
    EXPECT_EQ(root->OpenKey("GRÜSSE", KEY_READ, opened), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(root->OpenKey("GRÜßE", KEY_READ, opened), ERROR_SUCCESS);
}

TEST_F(SqliteRegistryTest, EnumKeyFollowsWindowsOrderAndEndsWith259) {
    RegistryKeyPtr root = Root();
    RegistryKeyPtr parent = Create(*root, "Parent");
    for (const char* name : {"beta", "_under", "Alpha", "gamma", "Beta2", "Zulu"})
        Create(*parent, name);
    // Sorted by the upper-cased name: "_" (0x5F) comes after the letters.
    EXPECT_EQ(SubKeys(*parent), (std::vector<std::string>{"Alpha", "beta", "Beta2", "gamma", "Zulu", "_under"}));
    std::string name;
    EXPECT_EQ(parent->EnumKey(6, name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(parent->EnumKey(1000, name), ERROR_NO_MORE_ITEMS);
    // All names in one pass come in the same order.
    std::vector<std::string> names;
    ASSERT_EQ(parent->EnumKeys(names), ERROR_SUCCESS);
    EXPECT_EQ(names, SubKeys(*parent));
    ASSERT_EQ(Create(*parent, "Alpha")->EnumKeys(names), ERROR_SUCCESS);
    EXPECT_TRUE(names.empty());
    ASSERT_EQ(root->DeleteTree("Parent"), ERROR_SUCCESS);
    EXPECT_EQ(parent->EnumKeys(names), ERROR_KEY_DELETED);
    RegistryKeyPtr noEnumeration = Create(*root, "Other", KEY_QUERY_VALUE);
    EXPECT_EQ(noEnumeration->EnumKeys(names), ERROR_ACCESS_DENIED);
}

TEST_F(SqliteRegistryTest, QueryValueFollowsRegQueryValueEx) {
    RegistryKeyPtr key = Create(*Root(), "Values");
    const std::uint8_t text[] = "hello";  // six bytes with the zero
    ASSERT_EQ(key->SetValue("Greeting", REG_SZ, text, sizeof text), ERROR_SUCCESS);

    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(key->QueryValue("GREETING", &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 6u);

    std::uint8_t small[3] = {};
    size = sizeof small;
    EXPECT_EQ(key->QueryValue("greeting", &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u);

    std::uint8_t buffer[16] = {};
    size = sizeof buffer;
    EXPECT_EQ(key->QueryValue("Greeting", nullptr, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(std::memcmp(buffer, text, 6), 0);

    EXPECT_EQ(key->QueryValue("Greeting", &type, buffer, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(key->QueryValue("Missing", &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegistryKeyPtr missing;
    EXPECT_EQ(key->OpenKey("Nope", KEY_READ, missing), ERROR_FILE_NOT_FOUND);
}

TEST_F(SqliteRegistryTest, TypesAndBytesAreStoredExactlyIncludingTheDefaultValue) {
    RegistryKeyPtr key = Create(*Root(Hive::LocalMachine), "System\\CurrentControlSet\\Services\\Vantor");
    const std::uint8_t path[] = "\"C:\\Program Files\\Vantor\\Vantor.exe\" -service";
    ASSERT_EQ(key->SetValue("ImagePath", REG_EXPAND_SZ, path, sizeof path), ERROR_SUCCESS);
    const std::uint8_t unterminated[] = {'a', 'b'};
    ASSERT_EQ(key->SetValue("Raw", REG_SZ, unterminated, 2), ERROR_SUCCESS);
    const std::uint8_t binary[] = {0, 1, 0, 255, 0};
    ASSERT_EQ(key->SetValue("Blob", REG_BINARY, binary, sizeof binary), ERROR_SUCCESS);
    ASSERT_EQ(key->SetValue("Empty", REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    ASSERT_EQ(SetDwordValue(*key, "Start", 2), ERROR_SUCCESS);
    ASSERT_EQ(SetStringValue(*key, "", "default text"), ERROR_SUCCESS);

    auto read = [&](std::string_view name, std::uint32_t expectedType) {
        std::uint32_t type = 0, size = 64;
        std::vector<std::uint8_t> data(64);
        EXPECT_EQ(key->QueryValue(name, &type, data.data(), &size), ERROR_SUCCESS) << name;
        EXPECT_EQ(type, expectedType) << name;
        data.resize(size);
        return data;
    };
    EXPECT_EQ(read("ImagePath", REG_EXPAND_SZ), std::vector<std::uint8_t>(path, path + sizeof path));
    EXPECT_EQ(read("Raw", REG_SZ), (std::vector<std::uint8_t>{'a', 'b'}));
    EXPECT_EQ(read("Blob", REG_BINARY), std::vector<std::uint8_t>(binary, binary + sizeof binary));
    EXPECT_TRUE(read("Empty", REG_BINARY).empty());
    std::uint32_t start = 0;
    EXPECT_EQ(QueryDwordValue(*key, "start", start, REG_DWORD), ERROR_SUCCESS);
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(String(*key, ""), "default text");

    // Overwriting changes type and data under the name's first spelling.
    ASSERT_EQ(SetDwordValue(*key, "IMAGEPATH", 7), ERROR_SUCCESS);
    std::uint32_t number = 0;
    EXPECT_EQ(QueryDwordValue(*key, "ImagePath", number, REG_DWORD), ERROR_SUCCESS);
    EXPECT_EQ(number, 7u);
}

TEST_F(SqliteRegistryTest, DeleteTreeRemovesTheWholeSubtree) {
    RegistryKeyPtr root = Root();
    RegistryKeyPtr hosts = Create(*root, "Software\\Vantor Netwarden\\Predefined hosts");
    RegistryKeyPtr deep = Create(*hosts, "Folder\\Sub\\Deeper");
    ASSERT_EQ(SetStringValue(*deep, "Name", "pc1"), ERROR_SUCCESS);
    ASSERT_EQ(SetStringValue(*Create(*root, "Software\\Vantor Netwarden\\Settings"), "Kept", "yes"), ERROR_SUCCESS);
    Create(*hosts, "Later\\Leaf");  // made after a key outside the subtree

    EXPECT_EQ(root->DeleteTree("software\\vantor netwarden\\predefined HOSTS"), ERROR_SUCCESS);
    RegistryKeyPtr opened;
    EXPECT_EQ(root->OpenKey("Software\\Vantor Netwarden\\Predefined hosts", KEY_READ, opened), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(root->OpenKey("Software\\Vantor Netwarden\\Settings", KEY_READ, opened), ERROR_SUCCESS);
    EXPECT_EQ(String(*opened, "Kept"), "yes");
    EXPECT_EQ(root->DeleteTree("Software\\Vantor Netwarden\\Predefined hosts"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(root->OpenKey("Software\\Vantor Netwarden\\Predefined hosts\\Later", KEY_READ, opened),
              ERROR_FILE_NOT_FOUND);

    // Handles to deleted keys refuse everything, even after a re-creation.
    std::string name;
    EXPECT_EQ(deep->SetValue("x", REG_BINARY, nullptr, 0), ERROR_KEY_DELETED);
    EXPECT_EQ(deep->QueryValue("Name", nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
    EXPECT_EQ(hosts->EnumKey(0, name), ERROR_KEY_DELETED);
    EXPECT_EQ(hosts->CreateKey("New", KEY_ALL_ACCESS, opened), ERROR_KEY_DELETED);
    Create(*root, "Software\\Vantor Netwarden\\Predefined hosts\\Folder\\Sub\\Deeper");
    EXPECT_EQ(deep->QueryValue("Name", nullptr, nullptr, nullptr), ERROR_KEY_DELETED);

    // A key deleting itself; the hive root cannot be deleted.
    RegistryKeyPtr settings = Create(*root, "Software\\Vantor Netwarden\\Settings");
    EXPECT_EQ(settings->DeleteTree(""), ERROR_SUCCESS);
    EXPECT_EQ(settings->EnumKey(0, name), ERROR_KEY_DELETED);
    EXPECT_EQ(root->DeleteTree(""), ERROR_ACCESS_DENIED);
}

// A subtree as text: "name{value=bytes,...}[children]", for comparing trees.
std::string Flatten(const std::vector<RegistryTree>& trees) {
    std::string text;
    for (const RegistryTree& tree : trees) {
        text += tree.Name + "{";
        for (const RegistryTreeValue& value : tree.Values)
            text += value.Name + "=" + std::to_string(value.Type) + ":" +
                    std::string(value.Data.begin(), value.Data.end()) + ",";
        text += "}[" + Flatten(tree.SubKeys) + "]";
    }
    return text;
}

TEST_F(SqliteRegistryTest, SubtreesReadAndWrittenInOnePassMatchTheKeyByKeyWalk) {
    RegistryKeyPtr root = Root();
    RegistryKeyPtr one = Create(*root, "One");
    RegistryKeyPtr two = Create(*root, "Two");
    RegistryKeyPtr existing = Create(*one, "b\\Old");
    ASSERT_EQ(SetStringValue(*existing, "Kept", "yes"), ERROR_SUCCESS);
    ASSERT_EQ(SetStringValue(*Create(*two, "b\\Old"), "Kept", "yes"), ERROR_SUCCESS);

    // Below a new key too, siblings and values of one name merge.
    RegistryTree a{"a", {}, {{"deep", {}, {{"deeper", {}, {}}}}, {"DEEP", {}, {{"other", {}, {}}}}}};
    a.AddDword("", 1);
    a.AddString("Text", "first");
    a.AddString("TEXT", "x");
    RegistryTree b{"B", {}, {{"New", {}, {}}}};  // exists as "b": opened, its children kept
    b.AddString("Kept", "set");
    RegistryTree twin{"A", {}, {{"second", {}, {}}}};  // a sibling of the same name merges
    const std::vector<RegistryTree> trees{a, b, twin};
    ASSERT_EQ(one->WriteSubKeys(trees), ERROR_SUCCESS);
    ASSERT_EQ(two->RegistryKey::WriteSubKeys(trees), ERROR_SUCCESS);  // the key-by-key walk

    const std::vector<std::string> wanted{"", "Text", "Kept"};
    std::vector<RegistryTree> fast;
    std::vector<RegistryTree> walked;
    ASSERT_EQ(one->ReadSubKeys(wanted, fast), ERROR_SUCCESS);
    RegistryTreeBuilder walk(wanted, walked);
    ASSERT_EQ(two->RegistryKey::VisitSubKeys(wanted, walk), ERROR_SUCCESS);
    EXPECT_EQ(Flatten(fast),
              "a{=4:\x01\0\0\0,Text=1:x\0,}[deep{}[deeper{}[]other{}[]]second{}[]]"
              "b{Kept=1:set\0,}[New{}[]Old{Kept=1:yes\0,}[]]"s);
    // Value order within a key is the hive's own; compare names and bytes sorted.
    auto sorted = [](std::vector<RegistryTree> level) {
        auto sortValues = [](auto& self, std::vector<RegistryTree>& keys) -> void {
            for (RegistryTree& tree : keys) {
                std::sort(tree.Values.begin(), tree.Values.end(),
                          [](const auto& x, const auto& y) { return x.Name < y.Name; });
                self(self, tree.SubKeys);
            }
        };
        sortValues(sortValues, level);
        return Flatten(level);
    };
    EXPECT_EQ(sorted(fast), sorted(walked));
    // Value names compare as the registry compares them and come back as asked.
    ASSERT_EQ(one->ReadSubKeys({"TEXT"}, fast), ERROR_SUCCESS);
    EXPECT_EQ(Flatten(fast), "a{TEXT=1:x\0,}[deep{}[deeper{}[]other{}[]]second{}[]]b{}[New{}[]Old{}[]]"s);

    // A write that fails part-way leaves nothing of itself; so does a key
    // without the right to create sub-keys.
    const std::vector<RegistryTree> bad{{"fine", {}, {}}, {"bad\\name", {}, {}}};
    EXPECT_EQ(one->WriteSubKeys(bad), ERROR_INVALID_PARAMETER);
    RegistryKeyPtr opened;
    EXPECT_EQ(one->OpenKey("fine", KEY_READ, opened), ERROR_FILE_NOT_FOUND);
    RegistryKeyPtr readOnly = Create(*root, "One", KEY_READ);
    EXPECT_EQ(readOnly->WriteSubKeys({{"fine", {}, {}}}), ERROR_ACCESS_DENIED);
    RegistryKeyPtr noEnumerate = Create(*root, "One", KEY_QUERY_VALUE);
    EXPECT_EQ(noEnumerate->ReadSubKeys(wanted, fast), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(fast.empty());
    RegistryKeyPtr deeper;
    ASSERT_EQ(one->OpenKey("a\\deep\\deeper", KEY_READ, deeper), ERROR_SUCCESS);
    ASSERT_EQ(root->DeleteTree("One"), ERROR_SUCCESS);
    EXPECT_EQ(one->ReadSubKeys(wanted, fast), ERROR_KEY_DELETED);
    // Ids written in one pass are never given again.
    ASSERT_EQ(Create(*root, "One")->WriteSubKeys(trees), ERROR_SUCCESS);
    std::string name;
    EXPECT_EQ(deeper->EnumKey(0, name), ERROR_KEY_DELETED);

    // More keys and values than one statement holds.
    RegistryTree wide{"Wide", {}, {}};
    for (std::uint32_t i = 0; i < 300; ++i) {
        wide.SubKeys.push_back({"k" + std::to_string(1000 + i), {}, {}});
        wide.SubKeys.back().AddDword("n", i);
    }
    RegistryKeyPtr three = Create(*root, "Three");
    ASSERT_EQ(three->WriteSubKeys({wide}), ERROR_SUCCESS);
    ASSERT_EQ(three->ReadSubKeys({"n"}, fast), ERROR_SUCCESS);
    ASSERT_EQ(fast.size(), 1u);
    ASSERT_EQ(fast[0].SubKeys.size(), 300u);
    for (std::uint32_t i = 0; i < 300; ++i) {
        std::uint32_t n = 0;
        EXPECT_EQ(fast[0].SubKeys[i].Dword("n", n), ERROR_SUCCESS);
        EXPECT_EQ(n, i);
    }
}

// The rows of a query on the file, read-only, one line each; parameter
// binds ?1.
std::string QueryLines(const std::string& file, const char* sql, const std::string& parameter = {}) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* query = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &query, nullptr), SQLITE_OK) << sql;
    sqlite3_bind_text(query, 1, parameter.c_str(), -1, SQLITE_TRANSIENT);
    std::string text;
    while (sqlite3_step(query) == SQLITE_ROW)
        text += std::string(reinterpret_cast<const char*>(sqlite3_column_text(query, 0))) + "\n";
    sqlite3_finalize(query);
    sqlite3_close(db);
    return text;
}

// Everything stored below the hive root's sub-key top, as stored (spellings
// included), one line per key with its values, in an order that ids do not
// affect.
std::string StoredBelow(const std::string& file, const std::string& top) {
    return QueryLines(file,
                      "WITH RECURSIVE t(id, path) AS ("
                      "  SELECT id, name FROM keys WHERE parent = (SELECT id FROM keys WHERE parent = 1 "
                      "  AND name = ?1) UNION ALL SELECT k.id, t.path || '\\' || k.name FROM keys k "
                      "  JOIN t ON k.parent = t.id) "
                      "SELECT t.path || ' ' || hex(k.vals) FROM t JOIN keys k ON k.id = t.id ORDER BY 1",
                      top);
}

// Replacing in place gives what deleting every sub-key and writing would,
// over stored trees of every shape: names in other cases, twins, values
// added, changed, respelled and dropped, subtrees moved in and out.
TEST_F(SqliteRegistryTest, AReplaceInPlaceStoresWhatADeleteAndRewriteWould) {
    RegistryKeyPtr root = Root();
    RegistryKeyPtr inPlace = Create(*root, "InPlace");
    RegistryKeyPtr rewritten = Create(*root, "Rewritten");
    ASSERT_EQ(SetStringValue(*Create(*root, "Beside\\Leaf"), "Kept", "yes"), ERROR_SUCCESS);
    std::mt19937 random(20261208);
    const std::vector<std::string> keyNames = {"a", "A", "b", "pc1", "PC1", "Ä", "ä", "Installed Products"};
    const std::vector<std::string> valueNames = {"", "Text", "TEXT", "n"};
    auto pick = [&](std::size_t count) { return static_cast<std::size_t>(random() % count); };
    auto makeLevel = [&](auto& self, int depth) -> std::vector<RegistryTree> {
        std::vector<RegistryTree> level(pick(depth == 0 ? 5 : 3));
        for (RegistryTree& tree : level) {
            tree.Name = keyNames[pick(keyNames.size())];
            for (std::size_t v = pick(4); v > 0; --v) {
                const std::string& name = valueNames[pick(valueNames.size())];
                if (pick(2) == 0)
                    tree.AddDword(name, static_cast<std::uint32_t>(pick(3)));
                else
                    tree.AddString(name, std::string(pick(3), 'x'));
            }
            if (depth < 2)
                tree.SubKeys = self(self, depth + 1);
        }
        return level;
    };
    const std::string file = dir_.File("user/hive.db");
    for (int round = 0; round < 200; ++round) {
        const std::vector<RegistryTree> trees = makeLevel(makeLevel, 0);
        ASSERT_EQ(inPlace->ReplaceSubKeys(trees), ERROR_SUCCESS);
        ASSERT_EQ(rewritten->RegistryKey::ReplaceSubKeys(trees), ERROR_SUCCESS);  // delete, then write key by key
        ASSERT_EQ(StoredBelow(file, "InPlace"), StoredBelow(file, "Rewritten"))
            << "round " << round << ": " << Flatten(trees);
    }
    // "Kept" (4 bytes), REG_SZ, "yes\0" (4 bytes).
    EXPECT_EQ(StoredBelow(file, "Beside"), "Leaf 040000004B657074010000000400000079657300\n");

    // What is stored as given stays untouched: a key's handle outlives a
    // replace by the same tree, not one that drops the key.
    RegistryTree kept{"Kept", {}, {{"Deep", {}, {}}}};
    ASSERT_EQ(inPlace->ReplaceSubKeys({kept}), ERROR_SUCCESS);
    RegistryKeyPtr deep;
    ASSERT_EQ(inPlace->OpenKey("Kept\\Deep", KEY_READ, deep), ERROR_SUCCESS);
    ASSERT_EQ(inPlace->ReplaceSubKeys({kept}), ERROR_SUCCESS);
    std::string name;
    EXPECT_EQ(deep->EnumKey(0, name), ERROR_NO_MORE_ITEMS);
    ASSERT_EQ(inPlace->ReplaceSubKeys({{"Other", {}, {}}}), ERROR_SUCCESS);
    EXPECT_EQ(deep->EnumKey(0, name), ERROR_KEY_DELETED);

    // A name no key can have fails the replace, which then leaves nothing.
    EXPECT_EQ(inPlace->ReplaceSubKeys({kept, {"bad\\name", {}, {}}}), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SubKeys(*inPlace), (std::vector<std::string>{"Other"}));
}

TEST_F(SqliteRegistryTest, AccessMaskOfTheHandleIsEnforced) {
    RegistryKeyPtr root = Root();
    Create(*root, "Software\\Child");
    RegistryKeyPtr reader;
    ASSERT_EQ(root->OpenKey("Software", KEY_READ, reader), ERROR_SUCCESS);
    const std::uint8_t one[4] = {1, 0, 0, 0};
    EXPECT_EQ(reader->SetValue("v", REG_DWORD, one, 4), ERROR_ACCESS_DENIED);
    RegistryKeyPtr created;
    EXPECT_EQ(reader->CreateKey("New", KEY_ALL_ACCESS, created), ERROR_ACCESS_DENIED);
    EXPECT_EQ(reader->CreateKey("child", KEY_READ, created), ERROR_SUCCESS);  // exists: only opened
    EXPECT_EQ(reader->DeleteTree("Child"), ERROR_ACCESS_DENIED);
    std::string name;
    EXPECT_EQ(reader->EnumKey(0, name), ERROR_SUCCESS);

    RegistryKeyPtr writer;
    ASSERT_EQ(root->OpenKey("Software", KEY_WRITE, writer), ERROR_SUCCESS);
    EXPECT_EQ(writer->SetValue("v", REG_DWORD, one, 4), ERROR_SUCCESS);
    std::uint32_t size = 0;
    EXPECT_EQ(writer->QueryValue("v", nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
    EXPECT_EQ(writer->EnumKey(0, name), ERROR_ACCESS_DENIED);

    RegistryKeyPtr queryOnly;
    ASSERT_EQ(root->OpenKey("Software", KEY_QUERY_VALUE, queryOnly), ERROR_SUCCESS);
    EXPECT_EQ(queryOnly->QueryValue("v", nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(queryOnly->EnumKey(0, name), ERROR_ACCESS_DENIED);
}

TEST_F(SqliteRegistryTest, UsersHiveAndOtherComputersAreNotServedHere) {
    RegistryKeyPtr key;
    EXPECT_EQ(registry_.Connect("", Hive::Users, key), ERROR_ACCESS_DENIED);
    EXPECT_EQ(registry_.Connect("SERVER1", Hive::LocalMachine, key), ERROR_BAD_NETPATH);
    EXPECT_EQ(key, nullptr);
}

TEST_F(SqliteRegistryTest, ValuesSurviveANewRegistryOnTheSameFiles) {
    ASSERT_EQ(SetStringValue(*Create(*Root(), "Software\\Vantor Netwarden\\Settings"), "Name", "kept"), ERROR_SUCCESS);
    SqliteRegistry other({dir_.File("user/hive.db"), dir_.File("machine/hive.db")});
    RegistryKeyPtr root, settings;
    ASSERT_EQ(other.Connect("", Hive::CurrentUser, root), ERROR_SUCCESS);
    ASSERT_EQ(root->OpenKey("Software\\Vantor Netwarden\\Settings", KEY_READ, settings), ERROR_SUCCESS);
    EXPECT_EQ(String(*settings, "name"), "kept");
}

TEST_F(SqliteRegistryTest, AFileThatIsNotAHiveGivesTheCorruptDatabaseCode) {
    std::filesystem::create_directories(dir_.File("machine"));
    FILE* file = std::fopen(dir_.File("machine/hive.db").c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("this is not a database, just some text that is long enough to be read as a header", file);
    std::fclose(file);
    RegistryKeyPtr root = Root(Hive::LocalMachine), key;
    EXPECT_EQ(root->OpenKey("Software", KEY_READ, key), ERROR_BADDB);
    EXPECT_EQ(root->CreateKey("Software", KEY_ALL_ACCESS, key), ERROR_BADDB);
}

// A hive as the earlier layout stored it: a row per value.
void WriteEarlierLayoutHive(const std::string& file) {
    std::filesystem::create_directories(std::filesystem::path(file).parent_path());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE keys(id INTEGER PRIMARY KEY AUTOINCREMENT, parent INTEGER NOT NULL,"
                           "  name TEXT NOT NULL, fold BLOB NOT NULL, UNIQUE(parent, fold));"
                           "CREATE TABLE vals(key INTEGER NOT NULL, name TEXT NOT NULL, fold BLOB NOT NULL,"
                           "  type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY(key, fold)) WITHOUT ROWID;"
                           "PRAGMA user_version = 1;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    // Rows of either table: key id, parent id or value type, name, data.
    const auto insert = [db](const char* sql, int id, int number, const std::string& name, std::string data) {
        sqlite3_stmt* statement = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), SQLITE_OK);
        const std::string fold = FoldRegistryName(name);
        sqlite3_bind_int(statement, 1, id);
        sqlite3_bind_int(statement, 2, number);
        sqlite3_bind_text(statement, 3, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_blob(statement, 4, fold.data(), static_cast<int>(fold.size()), SQLITE_TRANSIENT);
        sqlite3_bind_blob(statement, 5, data.data(), static_cast<int>(data.size()), SQLITE_TRANSIENT);
        EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE) << name;
        sqlite3_finalize(statement);
    };
    const char* key = "INSERT INTO keys(id, parent, name, fold) VALUES(?1, ?2, ?3, ?4)";
    const char* value = "INSERT INTO vals(key, type, name, fold, data) VALUES(?1, ?2, ?3, ?4, ?5)";
    insert(key, 1, 0, "", "");
    insert(key, 2, 1, "Software", "");
    insert(key, 3, 2, "Pc-1", "");
    insert(key, 4, 2, "Empty", "");
    insert(value, 3, REG_SZ, "Description", "A\0"s);
    insert(value, 3, REG_DWORD, "", "\7\0\0\0"s);
    insert(value, 2, REG_DWORD, "Count", "\2\0\0\0"s);
    insert(value, 9, REG_SZ, "Orphan", "\0"s);  // its key is gone
    sqlite3_close(db);
}

// The file's tables and layout, as "keys sqlite_sequence 2".
std::string TablesAndLayout(const std::string& file) {
    return QueryLines(file,
                      "SELECT group_concat(name, ' ') || ' ' || (SELECT user_version FROM pragma_user_version) "
                      "FROM (SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name)");
}

// What a reader of the earlier layout's hive above finds through the registry.
void ExpectEarlierLayoutContent(RegistryKey& root) {
    RegistryKeyPtr software, pc;
    ASSERT_EQ(root.OpenKey("software", KEY_READ, software), ERROR_SUCCESS);
    std::uint32_t count = 0;
    EXPECT_EQ(QueryDwordValue(*software, "count", count), ERROR_SUCCESS);
    EXPECT_EQ(count, 2u);
    std::vector<RegistryTree> trees;
    ASSERT_EQ(software->ReadSubKeys({"", "DESCRIPTION"}, trees), ERROR_SUCCESS);
    ASSERT_EQ(trees.size(), 2u);
    EXPECT_EQ(trees[0].Name, "Empty");
    EXPECT_TRUE(trees[0].Values.empty());
    EXPECT_EQ(trees[1].Name, "Pc-1");
    std::uint32_t kind = 0;
    EXPECT_EQ(trees[1].Dword("", kind), ERROR_SUCCESS);
    EXPECT_EQ(kind, 7u);
    std::string description;
    EXPECT_EQ(trees[1].String("Description", description), ERROR_SUCCESS);
    EXPECT_EQ(description, "A");
}

TEST_F(SqliteRegistryTest, AHiveOfTheEarlierLayoutIsUpgradedWithEveryValueKept) {
    WriteEarlierLayoutHive(dir_.File("user/hive.db"));
    RegistryKeyPtr root = Root();
    ExpectEarlierLayoutContent(*root);
    EXPECT_EQ(TablesAndLayout(dir_.File("user/hive.db")), "keys sqlite_sequence 2\n");
    // The pages of the old table are given back.
    EXPECT_EQ(QueryLines(dir_.File("user/hive.db"), "SELECT freelist_count FROM pragma_freelist_count"), "0\n");
    RegistryKeyPtr pc;
    ASSERT_EQ(root->OpenKey("Software\\PC-1", KEY_ALL_ACCESS, pc), ERROR_SUCCESS);
    ASSERT_EQ(SetStringValue(*pc, "description", "B"), ERROR_SUCCESS);
    SqliteRegistry again({dir_.File("user/hive.db"), dir_.File("machine/hive.db")});
    ASSERT_EQ(again.Connect("", Hive::CurrentUser, root), ERROR_SUCCESS);
    ASSERT_EQ(root->OpenKey("Software\\PC-1", KEY_READ, pc), ERROR_SUCCESS);
    EXPECT_EQ(String(*pc, "Description"), "B");
}

// A hive of a layout from a later version is not taken for one of this layout.
TEST_F(SqliteRegistryTest, AHiveOfALaterLayoutGivesTheCorruptDatabaseCode) {
    RegistryKeyPtr key;
    Create(*Root(), "Software");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(dir_.File("user/hive.db").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "PRAGMA user_version = 3", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    SqliteRegistry later({dir_.File("user/hive.db"), dir_.File("machine/hive.db")});
    RegistryKeyPtr root;
    ASSERT_EQ(later.Connect("", Hive::CurrentUser, root), ERROR_SUCCESS);
    EXPECT_EQ(root->OpenKey("Software", KEY_READ, key), ERROR_BADDB);
    EXPECT_EQ(root->CreateKey("Other", KEY_ALL_ACCESS, key), ERROR_BADDB);
}

// A machine hive that only root may write, as other users open it: read
// through an upgraded copy, the file left as it was.
TEST_F(SqliteRegistryTest, AHiveOfTheEarlierLayoutThatCannotBeWrittenIsReadAsItWas) {
    const std::string file = dir_.File("machine/hive.db");
    WriteEarlierLayoutHive(file);
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    ASSERT_EQ(chmod(dir_.File("machine").c_str(), 0555), 0);
    ASSERT_EQ(chmod(dir_.Path().c_str(), 0755), 0);
    const auto check = [&] {
        SqliteRegistry registry({dir_.File("user/hive.db"), file});
        RegistryKeyPtr root, key;
        ASSERT_EQ(registry.Connect("", Hive::LocalMachine, root), ERROR_SUCCESS);
        ExpectEarlierLayoutContent(*root);
        EXPECT_EQ(root->CreateKey("Software\\New", KEY_ALL_ACCESS, key), ERROR_ACCESS_DENIED);
        EXPECT_EQ(TablesAndLayout(file), "keys sqlite_sequence vals 1\n");
    };
    if (geteuid() != 0) {
        check();
        return;
    }
    // Root writes any file: the check runs as nobody.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        check();
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the check failed as an unprivileged user (2: could not become one)";
}

// Write groups.

class WriteGroupTest : public SqliteRegistryTest {
protected:
    void SetUp() override {
        settings_ = Create(*Root(), "Software\\Vantor Netwarden\\Settings");
        ASSERT_EQ(SetStringValue(*settings_, "Before", "1"), ERROR_SUCCESS);
    }
    // Every key path and value of the user hive, for before/after comparisons.
    std::vector<std::string> Snapshot() {
        std::vector<std::string> lines;
        Collect(*Root(), "", lines);
        return lines;
    }
    void Collect(RegistryKey& key, const std::string& path, std::vector<std::string>& lines) {
        lines.push_back(path);
        for (const char* name : {"Before", "A", "B", "Count"}) {
            std::string value;
            if (QueryStringValue(key, name, value) == ERROR_SUCCESS)
                lines.push_back(path + "=" + std::string(name).append(":").append(value));
        }
        for (const std::string& child : SubKeys(key)) {
            RegistryKeyPtr sub;
            ASSERT_EQ(key.OpenKey(child, KEY_READ, sub), ERROR_SUCCESS);
            Collect(*sub, std::string(path).append("\\").append(child), lines);
        }
    }
    RegistryKeyPtr settings_;
};

TEST_F(WriteGroupTest, CommittedGroupLandsWhole) {
    auto group = settings_->BeginWriteGroup();
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(SetStringValue(*settings_, "A", "a"), ERROR_SUCCESS);
    RegistryKeyPtr hosts = Create(*Root(), "Software\\Vantor Netwarden\\Predefined hosts\\F1");
    ASSERT_EQ(SetStringValue(*hosts, "B", "b"), ERROR_SUCCESS);
    EXPECT_EQ(String(*settings_, "A"), "a");  // visible to its own program at once
    EXPECT_EQ(group->Commit(), ERROR_SUCCESS);
    EXPECT_EQ(group->Commit(), ERROR_INVALID_PARAMETER);
    group.reset();

    SqliteRegistry other({dir_.File("user/hive.db"), dir_.File("machine/hive.db")});
    RegistryKeyPtr root, key;
    ASSERT_EQ(other.Connect("", Hive::CurrentUser, root), ERROR_SUCCESS);
    ASSERT_EQ(root->OpenKey("Software\\Vantor Netwarden\\Predefined hosts\\F1", KEY_READ, key), ERROR_SUCCESS);
    EXPECT_EQ(String(*key, "B"), "b");
}

TEST_F(WriteGroupTest, GroupThatFailsHalfWayAndIsAbandonedLeavesTheHiveAsBefore) {
    const std::vector<std::string> before = Snapshot();
    {
        auto group = settings_->BeginWriteGroup();
        ASSERT_EQ(SetStringValue(*settings_, "A", "a"), ERROR_SUCCESS);
        ASSERT_EQ(SetStringValue(*settings_, "Before", "changed"), ERROR_SUCCESS);
        RegistryKeyPtr root = Root();
        ASSERT_EQ(root->DeleteTree("Software\\Vantor Netwarden\\Settings"), ERROR_SUCCESS);
        Create(*root, "Software\\Vantor Netwarden\\Predefined hosts\\F1\\F2");
        // The write that fails half-way: a handle without write access.
        RegistryKeyPtr readOnly;
        ASSERT_EQ(root->OpenKey("Software", KEY_READ, readOnly), ERROR_SUCCESS);
        ASSERT_EQ(SetStringValue(*readOnly, "B", "b"), ERROR_ACCESS_DENIED);
        // Abandoned: destroyed without Commit.
    }
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(String(*settings_, "Before"), "1");  // the old handle is valid again
}

TEST_F(WriteGroupTest, CommitThatCannotLandRollsEverythingBack) {
    const std::vector<std::string> before = Snapshot();
    auto group = settings_->BeginWriteGroup();
    ASSERT_EQ(SetStringValue(*settings_, "A", "a"), ERROR_SUCCESS);
    Create(*settings_, "New\\Key");
    // Another program reading the hive holds a shared lock: the commit
    // cannot take the file within the busy time-out.
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open(dir_.File("user/hive.db").c_str(), &reader), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM keys;", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(group->Commit(), ERROR_BUSY);
    sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(reader);
    group.reset();
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(WriteGroupTest, AbandonedInnerGroupRollsBackTheOuterOne) {
    const std::vector<std::string> before = Snapshot();
    auto outer = settings_->BeginWriteGroup();
    ASSERT_EQ(SetStringValue(*settings_, "A", "a"), ERROR_SUCCESS);
    {
        auto inner = settings_->BeginWriteGroup();
        ASSERT_EQ(SetStringValue(*settings_, "B", "b"), ERROR_SUCCESS);
    }
    EXPECT_EQ(SetStringValue(*settings_, "Count", "1"), ERROR_CANTWRITE);
    EXPECT_EQ(outer->Commit(), ERROR_CANTWRITE);
    EXPECT_EQ(Snapshot(), before);
    // Writes after the group land one by one again.
    EXPECT_EQ(SetStringValue(*settings_, "A", "later"), ERROR_SUCCESS);
    EXPECT_EQ(String(*settings_, "A"), "later");
}

TEST_F(WriteGroupTest, AWriteThatFailsInsideAGroupLeavesNothingOfItselfAndTheGroupGoesOn) {
    // Another program's trigger makes chosen inserts fail, keeping the rows
    // its statement inserted before them.
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(dir_.File("user/hive.db").c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other,
                           "CREATE TRIGGER refuse_keys BEFORE INSERT ON keys WHEN NEW.name = 'Refused' "
                           "OR instr(NEW.vals, CAST('Refused' AS BLOB)) > 0 "
                           "BEGIN SELECT RAISE(FAIL, 'refused'); END;"
                           "CREATE TRIGGER refuse_values BEFORE UPDATE OF vals ON keys "
                           "WHEN instr(NEW.vals, CAST('Refused' AS BLOB)) > 0 "
                           "BEGIN SELECT RAISE(FAIL, 'refused'); END;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(other);

    auto group = settings_->BeginWriteGroup();
    ASSERT_EQ(SetStringValue(*settings_, "A", "a"), ERROR_SUCCESS);
    EXPECT_NE(SetStringValue(*settings_, "Refused", "x"), ERROR_SUCCESS);
    RegistryKeyPtr key;
    // The first key of the path is created, then the second is refused.
    EXPECT_NE(settings_->CreateKey("New\\Refused", KEY_ALL_ACCESS, key), ERROR_SUCCESS);
    EXPECT_NE(settings_->CreateKey("Refused", KEY_ALL_ACCESS, key), ERROR_SUCCESS);
    // Trees whose refused key or value comes after others of the same insert.
    std::vector<RegistryTree> trees(40);
    for (std::size_t i = 0; i < trees.size(); ++i) {
        trees[i].Name = "Key " + std::to_string(i);
        trees[i].AddString("Value", "v");
    }
    std::vector<RegistryTree> refusedKey = trees;
    refusedKey.push_back({"Refused", {}, {}});
    std::vector<RegistryTree> refusedValue = trees;
    refusedValue.back().AddString("Refused", "x");
    for (const auto* refused : {&refusedKey, &refusedValue}) {
        EXPECT_NE(settings_->WriteSubKeys(*refused), ERROR_SUCCESS);
        EXPECT_NE(settings_->ReplaceSubKeys(*refused), ERROR_SUCCESS);
    }
    ASSERT_EQ(SetStringValue(*settings_, "B", "b"), ERROR_SUCCESS);
    ASSERT_EQ(group->Commit(), ERROR_SUCCESS);

    EXPECT_EQ(String(*settings_, "A"), "a");
    EXPECT_EQ(String(*settings_, "B"), "b");
    std::uint32_t size = 0;
    EXPECT_EQ(settings_->QueryValue("Refused", nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(SubKeys(*settings_), std::vector<std::string>{});
}

}  // namespace
}  // namespace vn

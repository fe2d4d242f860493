#include "inventory/InventoryPersistence.h"

#include <cstdio>
#include <optional>
#include <random>
#include <system_error>
#include <thread>
#include <vector>

#include "inventory/InventoryModel.h"
#include "inventory/InventoryReader.h"
#include "inventory/InventoryWriter.h"
#include "platform/RegistryValues.h"

namespace vn {
namespace {

// The root key's value that marks each save.
constexpr std::string_view kStampValue = "SaveStamp";

std::string NewStamp() {
    std::random_device source;
    const unsigned long long value = (static_cast<unsigned long long>(source()) << 32) | source();
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", value);
    return text;
}

std::string StampBelow(RegistryKey& hive) {
    RegistryKeyPtr root;
    std::string stamp;
    // A stamp that cannot be read is an empty one: a tree saved before
    // stamps existed, or none at all.
    if (hive.OpenKey(kInventoryRootKey, KEY_READ, root) == ERROR_SUCCESS)
        (void)QueryStringValue(*root, kStampValue, stamp, REG_SZ);
    return stamp;
}

// Frees the keys on a thread of its own, joined when the returned thread
// ends; at once when no thread can be started.
std::jthread FreeMeanwhile(std::vector<RegistryTree> keys) {
    try {
        return std::jthread([doomed = std::move(keys)]() mutable { doomed.clear(); });
    } catch (const std::system_error&) {
        return {};
    }
}

// Writes the tree when the stored one carries expected (or always, with no
// expectation).
SaveResult Save(const InventoryModel& model, Registry& registry, std::optional<std::string_view> expected,
                SaveProblems& problems) {
    RegistryKeyPtr hive;
    if ((problems.writeFailure = registry.Connect("", Hive::CurrentUser, hive)) != ERROR_SUCCESS)
        return SaveResult::Incomplete;
    // Checking the stamp, and replacing the old tree by the new one land
    // together or not at all: a failure half-way keeps the tree saved last,
    // and no other program's save comes in between.
    std::unique_ptr<RegistryWriteGroup> group = hive->BeginWriteGroup();
    if (expected && StampBelow(*hive) != *expected)
        return SaveResult::StoredTreeChanged;
    InventoryWriter writer;
    std::vector<RegistryTree> keys = writer.KeysOf(model.ChildrenOf(nullptr));
    {
        // The stored tree becomes the model's: what is stored as it is in the
        // model stays untouched, so a save after few changes writes little.
        RegistryKeyPtr root;
        if ((problems.writeFailure = hive->CreateKey(kInventoryRootKey, KEY_ALL_ACCESS, root)) != ERROR_SUCCESS ||
            (problems.writeFailure = SetStringValue(*root, kStampValue, NewStamp())) != ERROR_SUCCESS ||
            (problems.writeFailure = root->ReplaceSubKeys(keys)) != ERROR_SUCCESS)
            return SaveResult::Incomplete;
    }  // every key is closed before the group lands
    // A large tree's keys take about as long to free as the commit waits for
    // the disk: they are freed meanwhile.
    const std::jthread freeing = FreeMeanwhile(std::move(keys));
    if (group != nullptr && (problems.writeFailure = group->Commit()) != ERROR_SUCCESS)
        return SaveResult::Incomplete;
    problems.leftOut = writer.LeftOut();
    return writer.Incomplete() ? SaveResult::Incomplete : SaveResult::Complete;
}

}  // namespace

bool SaveInventory(const InventoryModel& model, Registry& registry, SaveProblems* problems) {
    SaveProblems found;
    return Save(model, registry, std::nullopt, problems != nullptr ? *problems : found) == SaveResult::Complete;
}

SaveResult SaveInventoryIfStampIs(const InventoryModel& model, Registry& registry, std::string_view expectedStamp,
                                  SaveProblems* problems) {
    SaveProblems found;
    return Save(model, registry, expectedStamp, problems != nullptr ? *problems : found);
}

std::string ReadInventoryStamp(Registry& registry) {
    RegistryKeyPtr hive;
    if (registry.Connect("", Hive::CurrentUser, hive) != ERROR_SUCCESS)
        return {};
    return StampBelow(*hive);
}

bool LoadInventory(InventoryModel& model, Registry& registry, const ProductCatalogue& catalogue) {
    RegistryKeyPtr hive;
    if (registry.Connect("", Hive::CurrentUser, hive) != ERROR_SUCCESS)
        return false;
    RegistryKeyPtr root;
    if (hive->OpenKey(kInventoryRootKey, KEY_READ, root) != ERROR_SUCCESS)
        return false;
    InventoryReader reader(model, catalogue);
    const bool complete = reader.ReadChildren(*root, nullptr);
    if (model.rowCount() > 0)
        emit model.ensureVisible(model.index(0, InventoryModel::NameColumn));
    return complete;
}

}  // namespace vn

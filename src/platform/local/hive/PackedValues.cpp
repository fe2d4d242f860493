#include "platform/local/hive/PackedValues.h"

#include <algorithm>

#include "platform/local/hive/RegistryNames.h"

namespace vn {
namespace {

void AppendWord(std::string& out, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((word >> shift) & 0xFFu));
}

// Reads a word at the front of rest and moves past it; false when rest is
// too short.
bool TakeWord(std::string_view& rest, std::uint32_t& word) {
    if (rest.size() < 4)
        return false;
    word = 0;
    for (int i = 3; i >= 0; --i)
        word = (word << 8) | static_cast<unsigned char>(rest[static_cast<std::size_t>(i)]);
    rest.remove_prefix(4);
    return true;
}

bool TakeBytes(std::string_view& rest, std::string_view& bytes) {
    std::uint32_t size = 0;
    if (!TakeWord(rest, size) || rest.size() < size)
        return false;
    bytes = rest.substr(0, size);
    rest.remove_prefix(size);
    return true;
}

}  // namespace

bool UnpackValues(std::string_view packed, std::vector<PackedValue>& values) {
    values.clear();
    while (!packed.empty()) {
        PackedValue& value = values.emplace_back();
        if (!TakeBytes(packed, value.name) || !TakeWord(packed, value.type) || !TakeBytes(packed, value.data)) {
            values.clear();
            return false;
        }
    }
    return true;
}

void ValuePacker::Add(std::string_view name, std::string_view fold, std::uint32_t type, std::string_view data) {
    entries_.push_back({name, fold, type, data});
}

void ValuePacker::AddTreeValues(const std::vector<RegistryTreeValue>& values, FoldedNames& folds) {
    for (const RegistryTreeValue& value : values) {
        Add(value.Name, folds.Of(value.Name), value.Type,
            std::string_view(reinterpret_cast<const char*>(value.Data.data()), value.Data.size()));
    }
}

void ValuePacker::Pack(std::string& packed) {
    packed.clear();
    order_.resize(entries_.size());
    for (std::uint32_t i = 0; i < order_.size(); ++i)
        order_[i] = i;
    // Stable: among names that fold alike, the order they were added in.
    std::stable_sort(order_.begin(), order_.end(),
                     [this](std::uint32_t a, std::uint32_t b) { return entries_[a].fold < entries_[b].fold; });
    for (std::size_t first = 0; first < order_.size();) {
        std::size_t last = first;
        while (last + 1 < order_.size() && entries_[order_[last + 1]].fold == entries_[order_[first]].fold)
            ++last;
        const Entry& spelling = entries_[order_[first]];
        const Entry& content = entries_[order_[last]];
        AppendWord(packed, static_cast<std::uint32_t>(spelling.name.size()));
        packed += spelling.name;
        AppendWord(packed, content.type);
        AppendWord(packed, static_cast<std::uint32_t>(content.data.size()));
        packed += content.data;
        first = last + 1;
    }
    entries_.clear();
}

bool ValuePacker::PackOver(std::string_view stored, std::string& packed) {
    if (!UnpackValues(stored, stored_)) {
        entries_.clear();
        return false;
    }
    storedFolds_.clear();
    for (const PackedValue& value : stored_)
        storedFolds_.push_back(FoldRegistryName(value.name));
    std::vector<Entry> added = std::move(entries_);
    entries_.clear();
    for (std::size_t i = 0; i < stored_.size(); ++i)
        Add(stored_[i].name, storedFolds_[i], stored_[i].type, stored_[i].data);
    entries_.insert(entries_.end(), added.begin(), added.end());
    Pack(packed);
    return true;
}

}  // namespace vn

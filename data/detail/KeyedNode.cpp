#include "data/detail/KeyedNode.h"

#include "core/Error.h"
#include "data/detail/WriterText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <new>

using namespace std::string_view_literals;

namespace plotara {
namespace {

// FNV-1a over the characters: keys are short (mostly decimal numbers), where it beats a
// general-purpose byte hash.
std::size_t hashOf(StringView key) noexcept {
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : key) {
        hash ^= static_cast<std::uint32_t>(c);
        hash *= 1099511628211ull;
    }
    return static_cast<std::size_t>(hash ^ (hash >> 32));
}

// Key equality written out and inlined: keys are a few characters long, and the string_view
// comparison's wmemcmp call made recording the 16x2000 bubble benchmark about 4% slower (CPU
// time, medians 5.6-5.9 ms against 6.0-6.1 ms over three runs; docs/performance.md).
bool sameKey(StringView a, StringView b) noexcept {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}

// The number a key stands for when it is a canonical decimal ("0", "7", "120"; no sign, no
// leading zero), else -1.
long long decimalKey(StringView key) noexcept {
    if (key.empty() || key.size() > 9 || (key[0] == L'0' && key.size() > 1)) return -1;
    long long value = 0;
    for (wchar_t c : key) {
        if (c < L'0' || c > L'9') return -1;
        value = value * 10 + (c - L'0');
    }
    return value;
}

// Texts that most points, categories and datasets carry as keys share one static copy instead
// of one copy per entry: the common key words and every single ASCII character ("x", "Y", "Z").
constexpr std::array<wchar_t, 128> singleCharacters = [] {
    std::array<wchar_t, 128> table{};
    for (std::size_t c = 0; c < table.size(); ++c)
        table[c] = static_cast<wchar_t>(c);
    return table;
}();
constexpr StringView commonWords[] = {L"value"sv, L"label"sv, L"seriesname"sv};

} // namespace

KeyedEntry::KeyedEntry(StringView text) : data_(text.data()) {
    if (text.size() >= nodeMark) raise(errors::overflow());
    length_ = static_cast<std::uint32_t>(text.size());
}

StringView KeyedEntry::text() const {
    if (isNode()) raise(errors::argumentNotOptional());
    return StringView(static_cast<const wchar_t*>(data_), length_);
}

KeyedNode& KeyedEntry::node() const {
    if (!isNode()) raise(errors::typeMismatch());
    return *static_cast<KeyedNode*>(const_cast<void*>(data_));
}

KeyedNode* KeyedNode::newNode() {
    return new (arena_->allocateBytes(sizeof(KeyedNode), alignof(KeyedNode))) KeyedNode(arena_);
}

StringView KeyedNode::copyText(StringView text) {
    if (text.empty()) return {};
    if (text.size() == 1 && static_cast<std::uint32_t>(text[0]) < singleCharacters.size())
        return StringView(&singleCharacters[static_cast<std::size_t>(text[0])], 1);
    for (StringView common : commonWords)
        if (sameKey(text, common)) return common;
    auto* memory = static_cast<wchar_t*>(
        arena_->allocateBytes(text.size() * sizeof(wchar_t), alignof(wchar_t)));
    text.copy(memory, text.size());
    return StringView(memory, text.size());
}

std::size_t KeyedNode::find(StringView key) const noexcept {
    if (dense_) {
        const long long number = decimalKey(key);
        if (number < 0 || static_cast<std::size_t>(number) >= size_) return npos;
        return hint_ = static_cast<std::uint32_t>(number);
    }
    const std::size_t next = hint_ + 1;
    if (next < size_ && sameKey(items_[next].first, key)) return hint_ = next;
    if (slots_ == nullptr) {
        for (std::uint32_t i = 0; i < size_; ++i)
            if (sameKey(items_[i].first, key)) return hint_ = i;
        return npos;
    }
    const std::size_t hash = hashOf(key);
    const std::uint64_t tag = static_cast<std::uint64_t>(hash >> 32) << 32;
    const std::size_t mask = slotCount_ - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint64_t entry = slots_[slot];
        if (entry == 0) return npos;
        if ((entry & ~std::uint64_t{0xffffffff}) != tag) continue;
        const auto position = static_cast<std::uint32_t>((entry & 0xffffffff) - 1);
        if (sameKey(items_[position].first, key)) return hint_ = position;
    }
}

void KeyedNode::indexPosition(std::size_t position) {
    const std::size_t hash = hashOf(items_[position].first);
    const std::uint64_t entry =
        (static_cast<std::uint64_t>(hash >> 32) << 32) | static_cast<std::uint64_t>(position + 1);
    const std::size_t mask = slotCount_ - 1;
    std::size_t slot = hash & mask;
    while (slots_[slot] != 0)
        slot = (slot + 1) & mask;
    slots_[slot] = entry;
}

void KeyedNode::rebuildIndex() {
    std::size_t size = 32;
    while (size < std::size_t{size_} * 4)
        size *= 2;
    // The old index stays in the arena until the record is cleared.
    slots_ = static_cast<std::uint64_t*>(
        arena_->allocateBytes(size * sizeof(std::uint64_t), alignof(std::uint64_t)));
    std::fill_n(slots_, size, std::uint64_t{0});
    slotCount_ = static_cast<std::uint32_t>(size);
    for (std::size_t i = 0; i < size_; ++i)
        indexPosition(i);
}

void KeyedNode::grow(std::size_t capacity) {
    if (capacity >= 0x7fffffffu) raise(errors::overflow());
    // The old array stays in the arena until the record is cleared.
    auto* items = static_cast<Item*>(arena_->allocateBytes(capacity * sizeof(Item), alignof(Item)));
    if (size_ != 0) std::memcpy(static_cast<void*>(items), items_, size_ * sizeof(Item));
    items_ = items;
    capacity_ = static_cast<std::uint32_t>(capacity);
}

void KeyedNode::reserve(std::size_t entries) {
    if (size_ + entries > capacity_) grow(size_ + entries);
}

std::size_t KeyedNode::pushItem(StringView key, KeyedEntry entry) {
    const std::size_t position = size_;
    if (size_ == capacity_) grow(capacity_ == 0 ? 1 : std::size_t{capacity_} * 2);
    items_[position] = Item{copyText(key), entry};
    ++size_;
    hint_ = static_cast<std::uint32_t>(position);
    return position;
}

std::size_t KeyedNode::append(StringView key, KeyedEntry entry) {
    const std::size_t position = pushItem(key, entry);
    if (dense_) {
        if (decimalKey(key) == static_cast<long long>(position)) return position;
        dense_ = false;
        if (size_ > indexThreshold) rebuildIndex();
        return position;
    }
    if (slots_ != nullptr && std::size_t{size_} * 2 <= slotCount_)
        indexPosition(position);
    else if (size_ > indexThreshold)
        rebuildIndex();
    return position;
}

KeyedEntry& KeyedNode::item(StringView key) {
    std::size_t position = find(key);
    if (position == npos) {
        position = append(key, KeyedEntry(newNode()));
    }
    return items_[position].second;
}

KeyedNode& KeyedNode::child(long long index) {
    if (dense_ && index >= 0 && static_cast<std::size_t>(index) <= size_) {
        if (static_cast<std::size_t>(index) < size_) {
            hint_ = static_cast<std::uint32_t>(index);
            return items_[hint_].second.node();
        }
        // The next position of a dense node: its key is its number, so it stays dense and the
        // key needs no lookup.
        KeyedNode* node = newNode();
        pushItem(writer::KeyBuffer(index).view(), KeyedEntry(node));
        return *node;
    }
    return child(writer::KeyBuffer(index).view());
}

void KeyedNode::set(StringView key, StringView text) {
    const std::size_t position = find(key);
    if (position == npos) {
        append(key, KeyedEntry(copyText(text)));
        return;
    }
    // A replaced text or node stays in the arena until the record is cleared.
    items_[position].second = KeyedEntry(copyText(text));
}

const KeyedEntry* KeyedNode::lookup(StringView key) const noexcept {
    const std::size_t position = find(key);
    return position == npos ? nullptr : &items_[position].second;
}

std::vector<String> KeyedNode::keys() const {
    std::vector<String> result;
    result.reserve(size_);
    for (const Item& item : items())
        result.emplace_back(item.first);
    return result;
}

KeyedStore::KeyedStore() {
    clear();
}

void KeyedStore::clear() {
    arena_.rewind();
    root_ = new (arena_.allocateBytes(sizeof(KeyedNode), alignof(KeyedNode))) KeyedNode(&arena_);
}

} // namespace plotara

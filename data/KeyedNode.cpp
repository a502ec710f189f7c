#include "data/KeyedNode.h"

#include "core/Error.h"
#include "data/WriterText.h"

#include <cstdint>

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

// Key equality written out: keys are a few characters long, shorter than a library call.
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

} // namespace

StringView KeyedEntry::text() const {
    if (isNode()) raise(errors::argumentNotOptional());
    return text_;
}

KeyedNode& KeyedEntry::node() const {
    if (!isNode()) raise(errors::typeMismatch());
    return *node_;
}

StringView KeyedNode::copyText(StringView text) {
    if (text.empty()) return {};
    // Keys that every point or category carries share one copy.
    for (StringView common :
         {StringView(L"value"), StringView(L"label"), StringView(L"seriesname")})
        if (text == common) return common;
    auto* memory =
        static_cast<wchar_t*>(arena_->allocate(text.size() * sizeof(wchar_t), alignof(wchar_t)));
    text.copy(memory, text.size());
    return StringView(memory, text.size());
}

std::size_t KeyedNode::find(StringView key) const noexcept {
    if (dense_) {
        const long long number = decimalKey(key);
        if (number < 0 || static_cast<std::size_t>(number) >= items_.size()) return npos;
        return hint_ = static_cast<std::size_t>(number);
    }
    const std::size_t next = hint_ + 1;
    if (next < items_.size() && sameKey(items_[next].first, key)) return hint_ = next;
    if (slots_.empty()) {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (sameKey(items_[i].first, key)) return hint_ = i;
        return npos;
    }
    const std::size_t hash = hashOf(key);
    const std::uint64_t tag = static_cast<std::uint64_t>(hash >> 32) << 32;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint64_t entry = slots_[slot];
        if (entry == 0) return npos;
        if ((entry & ~std::uint64_t{0xffffffff}) != tag) continue;
        const std::size_t position = static_cast<std::size_t>(entry & 0xffffffff) - 1;
        if (sameKey(items_[position].first, key)) return hint_ = position;
    }
}

void KeyedNode::indexPosition(std::size_t position) {
    const std::size_t hash = hashOf(items_[position].first);
    const std::uint64_t entry =
        (static_cast<std::uint64_t>(hash >> 32) << 32) | static_cast<std::uint64_t>(position + 1);
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    while (slots_[slot] != 0)
        slot = (slot + 1) & mask;
    slots_[slot] = entry;
}

void KeyedNode::rebuildIndex() {
    std::size_t size = 32;
    while (size < items_.size() * 4)
        size *= 2;
    slots_.assign(size, 0);
    for (std::size_t i = 0; i < items_.size(); ++i)
        indexPosition(i);
}

std::size_t KeyedNode::append(StringView key, KeyedEntry entry) {
    const std::size_t position = items_.size();
    items_.push_back(Item{copyText(key), entry});
    hint_ = position;
    if (dense_) {
        if (decimalKey(key) == static_cast<long long>(position)) return position;
        dense_ = false;
        if (items_.size() > indexThreshold) rebuildIndex();
        return position;
    }
    if (!slots_.empty() && items_.size() * 2 <= slots_.size())
        indexPosition(position);
    else if (items_.size() > indexThreshold)
        rebuildIndex();
    return position;
}

KeyedEntry& KeyedNode::item(StringView key) {
    std::size_t position = find(key);
    if (position == npos) {
        std::pmr::polymorphic_allocator<KeyedNode> allocator(arena_);
        position = append(key, KeyedEntry(allocator.new_object<KeyedNode>(arena_)));
    }
    return items_[position].second;
}

KeyedNode& KeyedNode::child(long long index) {
    if (dense_ && index >= 0 && static_cast<std::size_t>(index) < items_.size()) {
        hint_ = static_cast<std::size_t>(index);
        return items_[hint_].second.node();
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
    result.reserve(items_.size());
    for (const Item& item : items_)
        result.emplace_back(item.first);
    return result;
}

KeyedStore::KeyedStore() {
    clear();
}

void KeyedStore::clear() {
    arena_.rewind();
    std::pmr::polymorphic_allocator<KeyedNode> allocator(&arena_);
    root_ = allocator.new_object<KeyedNode>(&arena_);
}

} // namespace plotara

#include "data/KeyedNode.h"

#include "core/Error.h"
#include "data/WriterText.h"

#include <functional>

namespace plotara {
namespace {

std::size_t hashOf(StringView key) noexcept {
    return std::hash<StringView>{}(key);
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
    const std::size_t next = hint_ + 1;
    if (next < items_.size() && items_[next].first == key) return hint_ = next;
    if (slots_.empty()) {
        for (std::size_t i = 0; i < items_.size(); ++i)
            if (items_[i].first == key) return hint_ = i;
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
        if (items_[position].first == key) return hint_ = position;
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

// The builder's keyed store: a tree of ordered maps from text keys to entries that hold either
// text or a child node. Keys compare exactly, enumerate in the order they were first added, and
// keep their position when their entry is replaced.
//
// A store is one arena: every node, key and text of a record lives in it and is dropped at once
// when the next record starts, so recording a point costs a few pointer bumps instead of heap
// allocations, and the next record reuses the same memory. Small nodes are searched
// linearly; a node that grows past a handful of keys adds an open-addressing hash index over its
// items (an ordered map as a vector plus a hash index), so the 32,767 points of one series are
// found in constant time. Nodes whose keys are their own positions ("0", "1", ...) are found by
// number and need no index at all.
#pragma once

#include "core/String.h"
#include "data/detail/BumpArena.h"

#include <cstdint>
#include <span>
#include <vector>

namespace plotara {

class KeyedNode;

// One entry: text or a child node, in 16 bytes. Texts live in the store's arena.
class KeyedEntry {
public:
    // Error 6 "Overflow" for a text of 4G characters or more.
    explicit KeyedEntry(StringView text);
    explicit KeyedEntry(KeyedNode* node) noexcept : data_(node), length_(nodeMark) {}

    bool isNode() const noexcept { return length_ == nodeMark; }
    // The entry as text. A node has no text: reading one as text is the run-time's Error 449
    // "Argument not optional" (the node's default member needs a key).
    StringView text() const;
    // The entry as a node; Error 13 "Type mismatch" when it holds text.
    KeyedNode& node() const;

private:
    static constexpr std::uint32_t nodeMark = 0xffffffffu;
    const void* data_;
    std::uint32_t length_;
};

class KeyedNode {
public:
    struct Item {
        StringView first; // the key, in the arena
        KeyedEntry second;
    };

    // A node whose items live in the arena; nodes are made by KeyedStore and by item().
    explicit KeyedNode(BumpArena* arena) noexcept : arena_(arena) {}
    KeyedNode(const KeyedNode&) = delete;
    KeyedNode& operator=(const KeyedNode&) = delete;

    // Whether the key is present; creates nothing.
    bool exists(StringView key) const noexcept { return find(key) != npos; }
    std::size_t count() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    // Makes room for entries more entries in one step (a point about to get its parameters).
    void reserve(std::size_t entries);

    // Reads the entry under key; a missing key is first added with a new empty node (the map's
    // default-member read). The reference is valid until the next key is added to this node.
    KeyedEntry& item(StringView key);
    // Reads the node under key, creating it when missing; Error 13 when the entry is text.
    // Nodes never move, so the reference stays valid while the store lives.
    KeyedNode& child(StringView key) { return item(key).node(); }
    KeyedNode& child(long long index); // the key is the decimal text of index

    // Stores text under key: replaces an existing entry in place or appends the key.
    void set(StringView key, StringView text);
    // The entry under key, or nullptr; creates nothing.
    const KeyedEntry* lookup(StringView key) const noexcept;

    // Entries in key order; valid until the next key is added to this node.
    std::span<const Item> items() const noexcept { return {items_, size_}; }
    std::vector<String> keys() const;

private:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    static constexpr std::size_t indexThreshold = 8;

    std::size_t find(StringView key) const noexcept;
    // Stores the item at the end, without touching the index or the dense flag.
    std::size_t pushItem(StringView key, KeyedEntry entry);
    std::size_t append(StringView key, KeyedEntry entry);
    void grow(std::size_t capacity);
    void rebuildIndex();
    void indexPosition(std::size_t position);
    StringView copyText(StringView text);
    KeyedNode* newNode();

    // Items and index are plain arrays in the arena (a node is 48 bytes, an item 32), since
    // a record holds tens of thousands of small nodes and their size is what a document's
    // writing has to read.
    BumpArena* arena_;
    Item* items_ = nullptr;
    // Open addressing over items_: each slot holds the key's hash in its high half and the item
    // position + 1 in its low half, or 0 when free, so probes rarely touch the items themselves.
    std::uint64_t* slots_ = nullptr;
    std::uint32_t size_ = 0;
    std::uint32_t capacity_ = 0;
    std::uint32_t slotCount_ = 0;
    // The position found last: keys are mostly read in order, so the item after it is tried
    // before the index.
    mutable std::uint32_t hint_ = 0;
    // While every key is the decimal text of its own position ("0", "1", "2" ..., as for points,
    // categories and datasets), a key is found by its number and the node needs no index.
    bool dense_ = true;
};

// The arena and the root node of one record. clear() starts a new, empty record in the same
// memory.
class KeyedStore {
public:
    KeyedStore();
    KeyedStore(const KeyedStore&) = delete;
    KeyedStore& operator=(const KeyedStore&) = delete;

    KeyedNode& root() noexcept { return *root_; }
    const KeyedNode& root() const noexcept { return *root_; }
    // Drops every node and text; references into the old record become invalid.
    void clear();

private:
    // Nodes are never destroyed one by one: all their memory belongs to the arena.
    BumpArena arena_;
    KeyedNode* root_ = nullptr;
};

} // namespace plotara

// A node of the builder's keyed store: an ordered map from text keys to entries that hold either
// text or a child node. Keys compare exactly, enumerate in the order they were first added, and
// keep their position when their entry is replaced. Small nodes are searched linearly; a node
// that grows past a handful of keys builds a hash index (an ordered map as a vector plus a hash
// index), so the 32,767 points of one series are found in constant time.
#pragma once

#include "core/String.h"

#include <memory>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

namespace plotara {

class KeyedNode;

// One entry: text or a child node.
class KeyedEntry {
public:
    KeyedEntry() = default;
    explicit KeyedEntry(String text) : value_(std::move(text)) {}
    explicit KeyedEntry(std::unique_ptr<KeyedNode> node) : value_(std::move(node)) {}

    bool isNode() const noexcept { return value_.index() == 1; }
    // The entry as text. A node has no text: reading one as text is the run-time's Error 449
    // "Argument not optional" (the node's default member needs a key).
    const String& text() const;
    // The entry as a node; Error 13 "Type mismatch" when it holds text.
    KeyedNode& node() const;

private:
    std::variant<String, std::unique_ptr<KeyedNode>> value_;
};

class KeyedNode {
public:
    using Item = std::pair<String, KeyedEntry>;

    KeyedNode() = default;
    KeyedNode(const KeyedNode&) = delete;
    KeyedNode& operator=(const KeyedNode&) = delete;

    // Whether the key is present; creates nothing. Cannot fail.
    bool exists(StringView key) const noexcept { return find(key) != npos; }
    std::size_t count() const noexcept { return items_.size(); }
    bool empty() const noexcept { return items_.empty(); }

    // Reads the entry under key; a missing key is first added with a new empty node (the map's
    // default-member read). The reference is valid until the next key is added to this node.
    KeyedEntry& item(StringView key);
    // Reads the node under key, creating it when missing; Error 13 when the entry is text.
    // Nodes never move, so the reference stays valid while this node lives.
    KeyedNode& child(StringView key) { return item(key).node(); }
    KeyedNode& child(long long index); // the key is the decimal text of index

    // Stores text under key: replaces an existing entry in place or appends the key.
    void set(StringView key, String text);
    // The entry under key, or nullptr; creates nothing.
    const KeyedEntry* lookup(StringView key) const noexcept;

    // Entries in key order.
    const std::vector<Item>& items() const noexcept { return items_; }
    std::vector<String> keys() const;

private:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    static constexpr std::size_t indexThreshold = 8;

    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(StringView key) const noexcept {
            return std::hash<StringView>{}(key);
        }
    };
    struct KeyEqual {
        using is_transparent = void;
        bool operator()(StringView a, StringView b) const noexcept { return a == b; }
    };

    std::size_t find(StringView key) const noexcept;
    std::size_t append(StringView key, KeyedEntry entry);

    std::vector<Item> items_;
    std::unique_ptr<std::unordered_map<String, std::size_t, KeyHash, KeyEqual>> index_;
};

} // namespace plotara

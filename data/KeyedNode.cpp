#include "data/KeyedNode.h"

#include "core/Error.h"

#include <cwchar>

namespace plotara {

const String& KeyedEntry::text() const {
    if (isNode()) raise(errors::argumentNotOptional());
    return std::get<String>(value_);
}

KeyedNode& KeyedEntry::node() const {
    if (!isNode()) raise(errors::typeMismatch());
    return *std::get<std::unique_ptr<KeyedNode>>(value_);
}

std::size_t KeyedNode::find(StringView key) const noexcept {
    if (index_) {
        auto found = index_->find(key);
        return found == index_->end() ? npos : found->second;
    }
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].first == key) return i;
    return npos;
}

std::size_t KeyedNode::append(StringView key, KeyedEntry entry) {
    const std::size_t position = items_.size();
    items_.emplace_back(String(key), std::move(entry));
    if (index_) {
        index_->emplace(items_.back().first, position);
    } else if (items_.size() > indexThreshold) {
        index_ = std::make_unique<std::unordered_map<String, std::size_t, KeyHash, KeyEqual>>();
        index_->reserve(items_.size() * 2);
        for (std::size_t i = 0; i < items_.size(); ++i)
            index_->emplace(items_[i].first, i);
    }
    return position;
}

KeyedEntry& KeyedNode::item(StringView key) {
    std::size_t position = find(key);
    if (position == npos) position = append(key, KeyedEntry(std::make_unique<KeyedNode>()));
    return items_[position].second;
}

KeyedNode& KeyedNode::child(long long index) {
    wchar_t buffer[24];
    const int length = std::swprintf(buffer, 24, L"%lld", index);
    return child(StringView(buffer, static_cast<std::size_t>(length)));
}

void KeyedNode::set(StringView key, String text) {
    const std::size_t position = find(key);
    if (position == npos)
        append(key, KeyedEntry(std::move(text)));
    else
        items_[position].second = KeyedEntry(std::move(text));
}

const KeyedEntry* KeyedNode::lookup(StringView key) const noexcept {
    const std::size_t position = find(key);
    return position == npos ? nullptr : &items_[position].second;
}

std::vector<String> KeyedNode::keys() const {
    std::vector<String> result;
    result.reserve(items_.size());
    for (const Item& item : items_)
        result.push_back(item.first);
    return result;
}

} // namespace plotara

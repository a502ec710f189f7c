#include "player/model/Attributes.h"

#include "player/util/TextUtil.h"

namespace plotara::player {

// A copy takes the names and values (and an index when the original has one), not the number
// syntax, which stays the one the copy was made with.
Attributes::Attributes(const Attributes& other) {
    if (other.data_ && !other.data_->items.empty()) {
        data_ = std::make_unique<Data>();
        data_->items = other.data_->items;
        if (other.data_->index) buildIndex();
    }
}

Attributes& Attributes::operator=(const Attributes& other) {
    if (this != &other) {
        if (!other.data_ || other.data_->items.empty()) {
            data_.reset();
            return *this;
        }
        if (!data_) data_ = std::make_unique<Data>();
        data_->items = other.data_->items;
        data_->index.reset();
        if (other.data_->index) buildIndex();
    }
    return *this;
}

const std::vector<std::pair<std::string, std::string>>& Attributes::items() const {
    static const Items none;
    return data_ ? data_->items : none;
}

void Attributes::buildIndex() {
    const Items& items = data_->items;
    data_->index = std::make_unique<Index>();
    data_->index->reserve(items.size() * 2);
    for (std::size_t i = 0; i < items.size(); ++i)
        data_->index->emplace(items[i].first, i);
}

std::size_t Attributes::position(std::string_view lowerName) const {
    if (!data_) return 0;
    const Items& items = data_->items;
    if (data_->index) {
        const auto found = data_->index->find(std::string(lowerName));
        return found == data_->index->end() ? items.size() : found->second;
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].first == lowerName) return i;
    return items.size();
}

void Attributes::set(std::string_view name, std::string value) {
    std::string key = lowerAscii(name);
    if (!data_) data_ = std::make_unique<Data>();
    Items& items = data_->items;
    const std::size_t at = position(key);
    if (at < items.size()) {
        items[at].second = std::move(value);
        return;
    }
    if (data_->index) data_->index->emplace(key, items.size());
    items.emplace_back(std::move(key), std::move(value));
    if (!data_->index && items.size() > indexThreshold) buildIndex();
}

const std::string* Attributes::find(std::string_view lowerName) const {
    if (!data_) return nullptr;
    const std::size_t at = position(lowerName);
    return at < data_->items.size() ? &data_->items[at].second : nullptr;
}

std::string Attributes::text(std::string_view lowerName, std::string_view fallback) const {
    const std::string* v = find(lowerName);
    return v ? *v : std::string(fallback);
}

double Attributes::number(std::string_view lowerName, double fallback) const {
    return optionalNumber(lowerName).value_or(fallback);
}

std::optional<double> Attributes::optionalNumber(std::string_view lowerName) const {
    const std::string* v = find(lowerName);
    if (!v) return std::nullopt;
    return parseNumber(*v, syntax_);
}

bool Attributes::flag(std::string_view lowerName, bool fallback) const {
    const std::string* v = find(lowerName);
    if (!v) return fallback;
    std::string_view t = trimSpace(*v);
    if (t == "1" || equalsNoCase(t, "true") || equalsNoCase(t, "yes")) return true;
    if (t == "0" || equalsNoCase(t, "false") || equalsNoCase(t, "no")) return false;
    return fallback;
}

} // namespace plotara::player

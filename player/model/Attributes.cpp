#include "player/model/Attributes.h"

#include "player/util/TextUtil.h"

namespace plotara::player {

Attributes::Attributes(const Attributes& other) : items_(other.items_) {
    if (other.index_) buildIndex();
}

Attributes& Attributes::operator=(const Attributes& other) {
    if (this != &other) {
        items_ = other.items_;
        index_.reset();
        if (other.index_) buildIndex();
    }
    return *this;
}

void Attributes::buildIndex() {
    index_ = std::make_unique<Index>();
    index_->reserve(items_.size() * 2);
    for (std::size_t i = 0; i < items_.size(); ++i)
        index_->emplace(items_[i].first, i);
}

std::size_t Attributes::position(std::string_view lowerName) const {
    if (index_) {
        const auto found = index_->find(std::string(lowerName));
        return found == index_->end() ? items_.size() : found->second;
    }
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].first == lowerName) return i;
    return items_.size();
}

void Attributes::set(std::string_view name, std::string value) {
    std::string key = lowerAscii(name);
    const std::size_t at = position(key);
    if (at < items_.size()) {
        items_[at].second = std::move(value);
        return;
    }
    if (index_) index_->emplace(key, items_.size());
    items_.emplace_back(std::move(key), std::move(value));
    if (!index_ && items_.size() > indexThreshold) buildIndex();
}

const std::string* Attributes::find(std::string_view lowerName) const {
    const std::size_t at = position(lowerName);
    return at < items_.size() ? &items_[at].second : nullptr;
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

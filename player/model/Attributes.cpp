#include "player/model/Attributes.h"

#include "player/util/TextUtil.h"

namespace plotara::player {

void Attributes::set(std::string_view name, std::string value) {
    std::string key = lowerAscii(name);
    for (auto& item : items_) {
        if (item.first == key) {
            item.second = std::move(value);
            return;
        }
    }
    items_.emplace_back(std::move(key), std::move(value));
}

const std::string* Attributes::find(std::string_view lowerName) const {
    for (const auto& item : items_) {
        if (item.first == lowerName) return &item.second;
    }
    return nullptr;
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

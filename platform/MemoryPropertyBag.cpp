#include "platform/MemoryPropertyBag.h"

#include "core/Error.h"
#include "core/Text.h"

#include <algorithm>
#include <optional>

namespace plotara {

namespace {

std::optional<double> numericValue(const Variant& v) {
    switch (v.type()) {
    case Variant::Type::Boolean:
        return v.asBool() ? -1.0 : 0.0;
    case Variant::Type::Integer:
    case Variant::Type::Long:
    case Variant::Type::Single:
    case Variant::Type::Double:
        return v.asDouble();
    default:
        return std::nullopt;
    }
}

bool storable(const Variant& v) {
    return !v.isObject() && !v.isArray() && !v.isMissing();
}

} // namespace

bool sameBagValue(const Variant& value, const Variant& defaultValue) {
    if (!storable(value) || !storable(defaultValue)) return false;
    const auto a = numericValue(value);
    const auto b = numericValue(defaultValue);
    if (a || b) return a && b && *a == *b;
    return value == defaultValue;
}

std::vector<MemoryPropertyBag::Entry>::iterator MemoryPropertyBag::find(const String& name) {
    return std::find_if(entries_.begin(), entries_.end(),
                        [&](const Entry& e) { return text::equalsIgnoreCase(e.first, name); });
}

bool MemoryPropertyBag::contains(const String& name) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return text::equalsIgnoreCase(e.first, name); });
}

Variant MemoryPropertyBag::ReadProperty(const String& name, const Variant& defaultValue) {
    const auto found = find(name);
    return found == entries_.end() ? defaultValue : found->second;
}

void MemoryPropertyBag::WriteProperty(const String& name, const Variant& value,
                                      const Variant& defaultValue) {
    if (!storable(value)) raise(errors::typeMismatch());
    if (sameBagValue(value, defaultValue)) {
        const auto found = find(name);
        if (found != entries_.end()) entries_.erase(found);
        return;
    }
    set(name, value);
}

void MemoryPropertyBag::set(const String& name, const Variant& value) {
    if (!storable(value)) raise(errors::typeMismatch());
    const auto found = find(name);
    if (found != entries_.end())
        found->second = value;
    else
        entries_.emplace_back(name, value);
}

} // namespace plotara

// A property bag kept in memory: the values in the order they were first written.
#pragma once

#include "platform/PropertyBag.h"

#include <utility>
#include <vector>

namespace plotara {

class MemoryPropertyBag final : public PropertyBag {
public:
    using Entry = std::pair<String, Variant>;

    MemoryPropertyBag() = default;

    // Names match case-insensitively. Cannot fail.
    Variant ReadProperty(const String& name, const Variant& defaultValue) override;
    // Error 13 "Type mismatch" for an object, an array or a missing argument; nothing is stored
    // then.
    void WriteProperty(const String& name, const Variant& value,
                       const Variant& defaultValue) override;

    // Stores a value without the default rule (used when loading a saved bag). Error 13 as above.
    void set(const String& name, const Variant& value);
    bool contains(const String& name) const;
    // The stored values in the order they were first written.
    const std::vector<Entry>& entries() const noexcept { return entries_; }
    void clear() { entries_.clear(); }

private:
    std::vector<Entry>::iterator find(const String& name);
    std::vector<Entry> entries_;
};

} // namespace plotara

#include "platform/ColumnNames.h"

#include "core/Text.h"

namespace plotara {

void ColumnNames::add(String name) {
    lowerNames_.push_back(text::toLower(name));
    names_.push_back(std::move(name));
}

int ColumnNames::indexOf(const String& name) const {
    for (std::size_t i = 0; i < names_.size(); ++i)
        if (names_[i] == name) return static_cast<int>(i);
    const String lower = text::toLower(name);
    for (std::size_t i = 0; i < lowerNames_.size(); ++i)
        if (lowerNames_[i] == lower) return static_cast<int>(i);
    return -1;
}

} // namespace plotara

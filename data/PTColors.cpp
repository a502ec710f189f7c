#include "data/PTColors.h"

#include "core/Error.h"
#include "core/Number.h"
#include "core/Text.h"

namespace plotara {

PTColors::PTColors() = default;

const std::vector<String>& PTColors::defaultColors() {
    static const std::vector<String> colors = text::split(
        L",AFD8F8,F6BD0F,8BBA00,FF8E46,008E8E,D64646,8E468E,588526,B3AA00,008ED6,9D080D,A186BE,"
        L"CC6600,FDC689,ABA000,F26D7D,FFF200,0054A6,F7941C,CC3300,006600,663300,6DCFF6",
        L",");
    return colors;
}

String PTColors::getColor(Integer colorCount) {
    const auto& defaults = defaultColors();
    if (!isCustomColors_ || userColors_.empty()) {
        const int entry = colorCount % static_cast<int>(defaults.size());
        if (entry < 0) raise(errors::subscriptOutOfRange());
        return defaults[static_cast<std::size_t>(entry)];
    }
    const int count = static_cast<int>(userColors_.size());
    // The list is 1-based: colour n is userColors_[n - 1].
    auto colour = [&](int n) -> const String& {
        if (n < 1 || n > count) raise(errors::subscriptOutOfRange());
        return userColors_[static_cast<std::size_t>(n - 1)];
    };
    if (colorCount == 0) {
        number::increment(colorIndex_);
        if (colorIndex_ == count) {
            colorIndex_ = 0;
            return colour(count);
        }
        return colour(colorIndex_ % count);
    }
    if (colorCount >= count) return colour(count);
    return colour(colorCount % count);
}

void PTColors::addColors(const String& strColors) {
    userColors_.clear();
    colorIndex_ = 0;
    for (String& item : text::split(strColors, delimiter_.empty() ? String(L";") : delimiter_)) {
        if (item.size() < 6) item.insert(0, 6 - item.size(), L'0');
        userColors_.push_back(std::move(item));
    }
    isCustomColors_ = !userColors_.empty();
}

} // namespace plotara

// The colour palette of a chart document: the built-in series colours, or the host's own list.
#pragma once

#include "core/String.h"

#include <vector>

namespace plotara {

class PTColors {
public:
    PTColors();

    // Without user colours: built-in entry colorCount modulo 24 (entry 0 is ""). With user
    // colours and colorCount 0: the next colour of the list, wrapping round. With user colours
    // and another colorCount: that colour, the last one for a count past the end. A negative
    // colorCount raises Error 9 "Subscript out of range"; the running index raises Error 6 if a
    // list of more than 32,767 colours is walked past its 32,767th entry.
    String getColor(Integer colorCount = 0);

    // Replaces the user list by the items of strColors split on the delimiter (";" when it is
    // ""); items shorter than six characters are padded with leading "0". A list with no items
    // at all (the empty text) switches user colours off again: the built-in colours apply and no
    // colour attribute is written. Cannot fail.
    void addColors(const String& strColors);

    // The separator for colour lists; "" means ";". Cannot fail.
    void setDelimiter(const String& delimiter) { delimiter_ = delimiter; }
    const String& delimiter() const noexcept { return delimiter_; }

    bool isCustomColors() const noexcept { return isCustomColors_; }
    void setCustomColors(bool on) noexcept { isCustomColors_ = on; }
    Integer colorIndex() const noexcept { return colorIndex_; }
    void setColorIndex(Integer index) noexcept { colorIndex_ = index; }
    const std::vector<String>& userColors() const noexcept { return userColors_; }

    // The built-in list: 24 entries, entry 0 the empty text.
    static const std::vector<String>& defaultColors();

private:
    bool isCustomColors_ = false;
    Integer colorIndex_ = 0;
    String delimiter_;
    std::vector<String> userColors_; // user colour n (from 1) at position n - 1
};

} // namespace plotara

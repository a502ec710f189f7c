// Parameter texts of the database imports: bracketed lists and normalised pair lists. Both use
// fixed separators, whatever the engine's parameter delimiter is.
#pragma once

#include "core/String.h"
#include "data/detail/ParamParser.h"

#include <vector>

namespace plotara {

// The items of a text of bracketed items: "[a][b][c]" gives a, b, c. "[" is skipped, "]" closes
// an item, every blank vanishes; text before the first "[" belongs to the first item and text
// after the last "]" is dropped, so a text without "]" gives no items.
std::vector<String> parseBracketList(StringView text);

// The pairs with a non-empty name as " name=value; name=value; " (a leading blank, each pair
// followed by "; "); no pairs at all give "".
String buildParamString(const std::vector<ParamPair>& pairs);

} // namespace plotara

// Checks of the texts --param and --colors hand to the chart document: attribute names that XML
// accepts (and, with a warning, that the player documents), colours that are colours.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace plotara::apps {

// The chart attributes docs/chart-xml.md documents, as it spells them.
const std::vector<std::string>& knownChartAttributes();

// Raises UsageFailure for a name that cannot be an XML attribute name (empty, a blank, "<", a
// quote, a leading digit; only ASCII letters, digits, "_", "-" and "." are taken).
void requireAttributeName(const std::string& name);

// For a name the documentation does not list (letter case aside): a warning naming the nearest
// documented attribute; nothing for a documented one.
std::optional<std::string> unknownAttributeWarning(const std::string& name);

// Writes a warning line to err for each "name=value" whose name is not documented; with strict
// raises UsageFailure for the first instead.
void warnUnknownParams(const std::vector<std::string>& params, bool strict, std::ostream& err);

// The edit distance of two names, letter case aside: how near a misspelt name is.
std::size_t nameDistance(const std::string& a, const std::string& b);

// Raises UsageFailure unless every ";"-separated piece is a colour of six hexadecimal digits.
void requireColorList(const std::string& list);

} // namespace plotara::apps

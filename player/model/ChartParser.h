// Reads chart XML (UTF-8) into a ChartModel with pugixml.
#pragma once

#include "player/model/ChartModel.h"

#include <string>

namespace plotara::player {

struct ParseResult {
    bool ok = false;   // false: the text is not a well-formed chart document
    std::string error; // the parser's description and offset when not ok
    ChartModel model;
};

// The separators of a document's numbers: as written (unless the document names its own with
// inDecimalSeparator and inThousandSeparator) and as shown (unless it names decimalSeparator
// and thousandSeparator).
struct DocumentNumbers {
    NumberSyntax input, display;
};

// Parses a document; never throws. The text may be decoded XML with entities; a document whose
// root element is neither chart nor graph is reported as invalid. Values that are not numbers
// become missing values; negative or huge values are kept for the families to judge.
ParseResult parseChartXml(std::string_view xml, const DocumentNumbers& numbers = {});
// The same on a document the caller gives up: pugixml parses the text where it lies instead of
// copying it, and leaves it changed. Never throws.
ParseResult parseChartXmlInPlace(std::string& xml, const DocumentNumbers& numbers = {});

} // namespace plotara::player

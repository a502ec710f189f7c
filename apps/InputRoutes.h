// The input routes of `plotara render`: each puts the request's data into the control the way a
// host would (the sample or an XML text through setDataXML, a file location through setDataURL,
// CSV rows and query results through Data) and lets the control render it.
#pragma once

#include "apps/ChartSession.h"
#include "apps/Failures.h"

namespace plotara::apps {

// Applies the chart parameters, colours and chart messages of the request. Raises UsageFailure
// for a parameter without "=", an unknown message kind, or parameters and colours with a route
// whose document is given whole (--sample, --xml, --url).
void applyChartOptions(ChartSession& session, const RenderRequest& request);

// Loads the request's data into the control and renders the chart. Raises ChartFailure when a
// file cannot be read, a query fails, a column named is not in the table, a value cell is not a
// number or the chart would hold too many points (apps/TableFill.h), and UsageFailure when no
// data option was given, a route is not built in, or --delimiter, --secondary or --render-as
// cannot be used as given.
void loadInput(ChartSession& session, const RenderRequest& request);

// The document the player was given with the movie URL (decoded as the player decodes it), or
// for a data file location the file's text without line breaks. Raises ChartFailure when the data
// file cannot be read or the URL carries no document.
std::string chartDocument(ChartSession& session);

} // namespace plotara::apps

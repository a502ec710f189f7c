// `plotara render`: one chart from one request, through the control and its player.
#pragma once

#include "apps/Failures.h"

#include <ostream>

namespace plotara::apps {

// Renders the request and writes the output file (or PNG to out for "-"); --print-url and
// --print-xml print the movie URL and the document to out instead. Raises UsageFailure for a
// request that cannot be carried out as given (no output, unknown type or format, bad size) and
// ChartFailure when the chart shows a message instead of a chart or the output cannot be written.
// The notes of what was chosen for the user (the series on a secondary axis) and the layout's
// notes (what it left out or merged, and why) go to notes, one "plotara: note: " line each, when
// it is given.
void renderChart(const RenderRequest& request, std::ostream& out, std::ostream* notes = nullptr);

// The command that makes the request, as it would be typed in a shell.
std::string commandLine(const RenderRequest& request);

} // namespace plotara::apps

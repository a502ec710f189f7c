// `plotara view`: a chart XML file in a desktop window, the chart control in a PlotaraWidget.
#pragma once

#include <string>

namespace plotara::apps {

struct ViewRequest {
    std::string file;              // the chart XML document
    std::string type = "column2d"; // a catalogue name or a number from 1 to 37
    std::string chartsDir;         // "" finds the installed chart movies
    int width = 800, height = 600;
    std::string snapshot; // when set: save the window as PNG there and close at once
};

// Shows the chart until the window is closed; returns the exit code (0). In the program without
// Qt (plotara) it runs plotara-view with the same arguments in place of the process instead and
// does not return. Raises UsageFailure for an unknown chart type, a program built without Qt (no
// plotara-view either) or no display to open the window on;
// ChartFailure when the file cannot be read, when the chart shows a message instead of a
// chart, or when the snapshot cannot be written.
int viewChart(const ViewRequest& request, int argc, const char* const* argv);

} // namespace plotara::apps

// The command line's shared vocabulary: what one chart render is asked to do, where its data
// comes from, and the failures that end a command with exit code 1 or 2.
#pragma once

#include "core/String.h"
#include "player/draw/SvgTextMode.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace plotara::apps {

// Process exit codes.
enum ExitCode : int { exitSuccess = 0, exitChartError = 1, exitUsageError = 2 };

// Where the chart's data comes from.
enum class InputRoute {
    None,   // no data option given
    Sample, // the chart type's own sample document (--sample)
    Xml,    // a chart XML file handed to setDataXML (--xml)
    Url,    // a chart XML file location handed to setDataURL (--url)
    Csv,    // a CSV file filled into Data item by item (--csv)
    Sqlite, // a query on a SQLite file, or on the built-in sample database (--db, --sql)
    Odbc    // a query through an ODBC connection string (--odbc, --sql)
};

// What the output file is, from its extension.
enum class OutputFormat { Png, Svg, Pdf, Bmp, Html };

// One render request, as the options of `plotara render` give it.
struct RenderRequest {
    std::string type = "column2d"; // a catalogue name or a number from 1 to 37
    InputRoute route = InputRoute::None;
    std::string xmlFile, url, csvFile, dbFile, odbc, sql;
    std::string categoryColumn, valueColumn, seriesColumn;
    std::string delimiter;           // CSV separator; "" detects it
    std::string secondary, renderAs; // "Units;Cost", "Units=line;Cost=area"
    bool sortCategories = false;
    bool strict = false;             // an undocumented --param name is an error, not a warning
    std::vector<std::string> params; // "name=value" each
    std::string colors;              // "FF0000;00FF00"
    std::vector<std::pair<std::string, std::string>> messages; // (kind, text)
    int width = 640, height = 480;
    double scale = 1;
    player::SvgTextMode svgText = player::SvgTextMode::Text; // --svg-text text|paths
    bool htmlFragment = false; // --html-fragment: only the <figure> of the page
    std::string htmlId;        // --html-id: the page's id prefix ("" is "plotara")
    bool htmlZoom = true;      // not --html-no-zoom: a line or scatter page's zoom windows
    std::vector<double> zoom;  // --zoom: the part shown, x from and to (then y), as on the desktop
    std::string output;        // a file name, or "-" for PNG on standard output
    std::string chartsDir;     // the chart-movie folder; "" finds the installed one
    bool printXml = false, printUrl = false;
    // --layout-json: a file for the chart's layout as JSON, or "-" for standard output.
    std::string layoutJson;
    std::size_t inputLimit = std::size_t{256} << 20; // bytes read from an input at most
    // Threads that may paint the picture. The player paints on its caller's thread alone unless
    // told otherwise; a lone render is the whole process and opts in to a second thread (a 4 x
    // 1,000 line PNG took 3% to 28% less wall time in two races on the shared 2-core machine, the
    // same CPU time), a pool of workers that already keeps
    // the cores busy does not. Not an option of its own.
    int paintThreads = 2;
};

// A failure the chart reports: a bad document, no data, a missing file or column. The message
// is what the chart would show, printed on standard error; exit code 1.
class ChartFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A request the command line cannot make sense of; exit code 2.
class UsageFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace plotara::apps

#include "apps/Commands.h"

#include "apps/Batch.h"
#include "apps/BatchCommand.h"
#include "apps/Gallery.h"
#include "apps/ParamCheck.h"
#include "apps/Render.h"
#include "apps/TypesTable.h"
#include "apps/View.h"
#include "core/Error.h"
#include "core/Version.h"
#include "platform/PictureSize.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <map>

#include <iostream>

namespace plotara::apps {

namespace {

const char* const renderExamples = R"(Examples:
  plotara render --type column2d --csv sales.csv -o sales.png
  plotara render --type mscolumn2d --csv sales.csv --param caption=Sales --param numberPrefix=$ \
                 --colors "FF0000;00FF00" -o sales.svg
  plotara render --type msline2d --csv stocks.csv --category date --series symbol --value price \
                 --sort-categories -o stocks.png
  plotara render --type pie2d --csv regions.csv --category region --value revenue -o share.png
  plotara render --type scatter --csv points.csv --delimiter ";" --category load --value ms -o s.png
  plotara render --type pie2d --sample --width 800 --height 600 --scale 2 -o pie@2x.png
  plotara render --type line2d --xml chart.xml -o chart.pdf
  plotara render --type 11 --url data/chart.xml -o - > chart.png
  plotara render --type msline2d --db sample.db --sql "SELECT region, month, revenue FROM revenue_by_region" \
                 --category month --series region --value revenue -o regions.png
  plotara render --type mscombidy2d --sql "SELECT month, SUM(revenue) AS Revenue, SUM(units) AS Units \
                 FROM monthly_sales JOIN months USING (month_no) GROUP BY month_no ORDER BY month_no" \
                 --category month --value "Revenue;Units" --secondary Units -o dual.png
  plotara render --type column2d --odbc "DRIVER=SQLite3;Database=sample.db" \
                 --sql "SELECT month, units FROM monthly_sales" --category month --value units -o u.png
  plotara render --type column2d --csv empty.csv --message no-data="Nothing yet" -o x.png

Data: exactly one of --sample, --xml, --url, --csv, --sql. --sql runs on --db FILE, on --odbc
CONNECTION, or else on the built-in sample database.
Columns (CSV and SQL alike): --category C (the x column on scatter and bubble charts), --value V
or "A;B;C" (a dataset per column; bubble: "y;size"), --series S for long-form data (one row per
category and series: a dataset per distinct S, every value at its own category, in any row
order). A CSV without --category uses its first column, without --value every other column
(a single-series chart then needs --value when there are several). CSV separators , ; tab and |
are detected; --delimiter chooses one. Values must be numbers (or empty); labels are shown as
written. A chart holds at most 32767 points: more is an error, never a silent cut.
Combination charts: --render-as "Units=line;Cost=area"; dual-axis charts (mscombidy2d ...):
--secondary "Units" draws those series on the right-hand axis.
Parameters: the chart attributes are listed in docs/chart-xml.md, for example caption=Sales,
numberPrefix=$, yAxisMinValue=0; an unknown name warns (--strict makes it an error).
Messages: loading, retrieving, reading, no-data, rendering, load-error, invalid-xml.
Output: -o FILE by extension (.png .svg .pdf .bmp .html, - for PNG on standard output); --print-xml
prints the chart document, --print-url the address the control hands to the player.
Exit codes: 0 success, 1 chart error (the chart's message on standard error), 2 usage error.)";

const char* const galleryExamples = R"(Examples:
  plotara gallery -o gallery
  plotara gallery -o /tmp/g --db build/examples/sample.db --width 640 --height 480

Writes NN-<type>.png, .svg and .html (the chart's web page) for the 37 chart types (from their
sample documents), the same for charts of the sample database (db-*), and index.html showing
them with their commands, each picture linked to its page.)";

const char* const typesExamples = R"(Example:
  plotara types | grep Stacked

The last column names the player's chart files for each type: the full edition, and the light
edition where there is one ("-" where there is none). They live in the folder --charts names.)";

struct Options {
    RenderRequest render;
    bool sample = false;
    std::vector<std::string> messages;
    std::size_t maxInputMiB = 256;
    GalleryOptions gallery;
    ViewRequest view;
    BatchOptions batch;
};

// Turns the parsed render options into a request. Raises UsageFailure for combinations CLI11
// cannot express.
RenderRequest buildRenderRequest(Options& options) {
    RenderRequest request = options.render;
    request.inputLimit = options.maxInputMiB << 20;
    if (options.sample)
        request.route = InputRoute::Sample;
    else if (!request.xmlFile.empty())
        request.route = InputRoute::Xml;
    else if (!request.url.empty())
        request.route = InputRoute::Url;
    else if (!request.csvFile.empty())
        request.route = InputRoute::Csv;
    else if (!request.sql.empty())
        request.route = request.odbc.empty() ? InputRoute::Sqlite : InputRoute::Odbc;
    const bool database = request.route == InputRoute::Sqlite || request.route == InputRoute::Odbc;
    const bool table = database || request.route == InputRoute::Csv;
    if (!table && (!request.categoryColumn.empty() || !request.valueColumn.empty() ||
                   !request.seriesColumn.empty() || !request.secondary.empty() ||
                   !request.renderAs.empty() || request.sortCategories))
        throw UsageFailure("--category, --value, --series, --secondary, --render-as and "
                           "--sort-categories choose columns of --csv or --sql data");
    if (database && request.valueColumn.empty())
        throw UsageFailure("--sql needs --value naming the value column(s)");
    for (const std::string& message : options.messages) {
        const auto eq = message.find('=');
        if (eq == std::string::npos || eq == 0)
            throw UsageFailure("--message needs kind=text, got '" + message + "'");
        request.messages.emplace_back(message.substr(0, eq), message.substr(eq + 1));
    }
    return request;
}

// render's options of the chart's type and data: where the data comes from and how it becomes
// series, the chart's attributes, colours and messages.
void defineRenderData(CLI::App* render, Options& options) {
    RenderRequest& r = options.render;
    render->add_option("-t,--type", r.type, "Chart type: a name from `plotara types` or 1-37")
        ->capture_default_str();
    auto* sample = render->add_flag("--sample", options.sample, "The chart type's sample data");
    auto* xml = render->add_option("--xml", r.xmlFile, "Chart XML file (- for standard input)");
    auto* url = render->add_option("--url", r.url, "Chart XML file location, read by the player");
    auto* csv = render->add_option("--csv", r.csvFile, "CSV file (- for standard input)");
    auto* sql = render->add_option("--sql", r.sql, "Query for the chart's rows");
    auto* db = render->add_option("--db", r.dbFile, "SQLite database file for --sql");
    auto* odbc = render->add_option("--odbc", r.odbc, "ODBC connection string for --sql");
    // An empty name would quietly fall back to the built-in sample.
    const CLI::Validator named(
        [](const std::string& value) { return value.empty() ? "must not be empty" : ""; }, "",
        "named");
    db->check(named);
    odbc->check(named);
    db->needs(sql);
    odbc->needs(sql);
    odbc->excludes(db);
    const std::vector<CLI::Option*> routes{sample, xml, url, csv, sql};
    for (CLI::Option* a : routes)
        for (CLI::Option* b : routes)
            if (a != b) a->excludes(b);
    render
        ->add_option("--delimiter", r.delimiter, "CSV separator: , ; | or tab (default: detected)")
        ->needs(csv);
    render->add_option("--category", r.categoryColumn, "Category column (x column on XY charts)");
    render->add_option("--value", r.valueColumn,
                       "Value column, or columns as \"A;B;C\" (bubble: \"y;size\")");
    render->add_option("--series", r.seriesColumn,
                       "Series column of long-form data: a dataset per distinct value");
    render->add_flag("--sort-categories", r.sortCategories,
                     "Sort the categories (numbers by value; else as they appear)");
    render->add_option("--secondary", r.secondary,
                       "Series on the secondary axis of a dual-axis chart, \"A;B\"");
    render->add_option("--render-as", r.renderAs,
                       "How combination-chart series are drawn, \"A=line;B=area\"");
    render
        ->add_option("--param", r.params,
                     "Chart attribute name=value (repeatable; see docs/chart-xml.md)")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    render->add_flag("--strict", r.strict, "An undocumented --param name is an error");
    render->add_option("--colors", r.colors, "Series colours, e.g. \"FF0000;00FF00\"");
    render->add_option("--message", options.messages, "Chart message kind=text (repeatable)")
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

void defineRender(CLI::App& app, Options& options, bool withOptions) {
    CLI::App* render = app.add_subcommand("render", "Render one chart to PNG, SVG, PDF or BMP");
    if (!withOptions) return;
    render->footer(renderExamples);
    defineRenderData(render, options);
    RenderRequest& r = options.render;
    render->add_option("--width", r.width, "Width in pixels")
        ->check(CLI::Range(1, maxPictureSide))
        ->capture_default_str();
    render->add_option("--height", r.height, "Height in pixels")
        ->check(CLI::Range(1, maxPictureSide))
        ->capture_default_str();
    render->add_option("--scale", r.scale, "Device pixel ratio of PNG and BMP output")
        ->check(CLI::Validator(
            [](const std::string& value) {
                return std::isnan(std::strtod(value.c_str(), nullptr)) ? "is not a number" : "";
            },
            "", "number"))
        ->check(CLI::Range(0.25, 8.0))
        ->capture_default_str();
    render
        ->add_option("--max-input", options.maxInputMiB,
                     "Largest --xml, --url or --csv input read, in MiB")
        ->check(CLI::Range(std::size_t{1}, std::size_t{1} << 20))
        ->capture_default_str();
    render->add_option("-o,--output", r.output,
                       "Output file (.png .svg .pdf .bmp .html) or - (PNG)");
    render
        ->add_option("--svg-text", r.svgText,
                     "SVG texts as text (<text> elements) or paths (glyph outlines)")
        ->transform(CLI::CheckedTransformer(std::map<std::string, player::SvgTextMode>{
            {"text", player::SvgTextMode::Text}, {"paths", player::SvgTextMode::Paths}}))
        ->default_str("text");
    render->add_flag("--html-fragment", r.htmlFragment,
                     "HTML output: only the chart's <figure>, for a host page");
    render->add_flag_callback(
        "--html-no-zoom", [&r] { r.htmlZoom = false; },
        "HTML output: no zoom windows (a dense line page half the size, written 20 times faster)");
    render
        ->add_option("--html-id", r.htmlId,
                     "HTML output: the figure's id, which starts every id of the chart")
        ->default_str("plotara");
    render
        ->add_option("--zoom", r.zoom,
                     "Show a part: XMIN,XMAX (first and last category) or XMIN,XMAX,YMIN,YMAX "
                     "(scatter and bubble charts)")
        ->delimiter(',')
        ->expected(2, 4);
    render->add_option("--layout-json", r.layoutJson,
                       "Write the chart's layout (axes, texts, series) as JSON to a file or -");
    render->add_flag("--print-xml", r.printXml, "Print the chart document");
    render->add_flag("--print-url", r.printUrl,
                     "Print the address the control hands to the player");
    render->add_option("--charts", r.chartsDir, "Folder of the player's chart files");
}

void defineGallery(CLI::App& app, Options& options, bool withOptions) {
    CLI::App* gallery = app.add_subcommand("gallery", "Render every chart type into a folder");
    if (!withOptions) return;
    gallery->footer(galleryExamples);
    GalleryOptions& g = options.gallery;
    gallery->add_option("-o,--output", g.outDir, "Folder for the pictures and index.html")
        ->required();
    gallery->add_option("--db", g.dbFile, "SQLite database (default: the built-in sample)");
    gallery->add_option("--width", g.width, "Width in pixels")
        ->check(CLI::Range(1, maxPictureSide))
        ->capture_default_str();
    gallery->add_option("--height", g.height, "Height in pixels")
        ->check(CLI::Range(1, maxPictureSide))
        ->capture_default_str();
    gallery->add_option("--charts", g.chartsDir, "Folder of the player's chart files");
    gallery->add_option("-j,--jobs", g.jobs, "Worker threads (default: the number of cores)")
        ->check(CLI::Range(1, 256));
}

void defineView(CLI::App& app, Options& options, bool withOptions) {
    CLI::App* view = app.add_subcommand("view", "Open a chart XML file in a window");
    if (!withOptions) return;
    view->footer("Example:\n  plotara view chart.xml --type pie2d --width 1024 --height 768");
    ViewRequest& v = options.view;
    view->add_option("file", v.file, "Chart XML file")->required();
    view->add_option("-t,--type", v.type, "Chart type: a name from `plotara types` or 1-37")
        ->capture_default_str();
    view->add_option("--width", v.width, "Window width in pixels")
        ->check(CLI::Range(1, maxPictureSide));
    view->add_option("--height", v.height, "Window height in pixels")
        ->check(CLI::Range(1, maxPictureSide));
    view->add_option("--snapshot", v.snapshot, "Save the window as PNG and close at once");
    view->add_option("--charts", v.chartsDir, "Folder of the player's chart files");
}

// Whether a command's options are defined for this command line: not when the first argument
// names another command (the render command alone has some forty options, which a start of
// `plotara types` would build for nothing); always when it names none (--help, a misspelt
// command), so that what is printed then does not change.
bool definesOptions(int argc, const char* const* argv, std::string_view command) {
    if (argc < 2) return true;
    const std::string_view first = argv[1];
    constexpr std::string_view commands[] = {"render", "gallery", "view", "batch", "types"};
    return first == command ||
           std::find(std::begin(commands), std::end(commands), first) == std::end(commands);
}

} // namespace

int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err, bool terminal) {
    CLI::App app("Plotara: charts from files and databases in one command", "plotara");
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("plotara ") + PLOTARA_VERSION,
                         "Print the version and exit");
    app.footer("Run plotara COMMAND --help for a command's options and examples.");
    Options options;
    defineRender(app, options, definesOptions(argc, argv, "render"));
    defineGallery(app, options, definesOptions(argc, argv, "gallery"));
    defineView(app, options, definesOptions(argc, argv, "view"));
    defineBatch(app, options.batch);
    app.add_subcommand("types",
                       "List the chart types: number, name, group, the player's chart files")
        ->footer(typesExamples);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error, out, err);
        return code == 0 ? exitSuccess : exitUsageError;
    }
    try {
        if (app.got_subcommand("render")) {
            const RenderRequest request = buildRenderRequest(options);
            warnUnknownParams(request.params, request.strict, err);
            renderChart(request, out, &err);
        } else if (app.got_subcommand("view")) {
            return viewChart(options.view, argc, argv);
        } else if (app.got_subcommand("batch")) {
            return runBatch(options.batch, std::cin, out, err, terminal);
        } else if (app.got_subcommand("gallery")) {
            const int failed = runGallery(options.gallery, err, terminal);
            if (failed > 0) {
                err << "plotara: " << failed << " chart(s) of the gallery failed\n";
                return exitChartError;
            }
            out << "gallery written to " << options.gallery.outDir << "/index.html\n";
        } else {
            out << typesTable();
        }
    } catch (const UsageFailure& failure) {
        err << "plotara: " << failure.what() << '\n';
        return exitUsageError;
    } catch (const ChartFailure& failure) {
        err << "plotara: " << failure.what() << '\n';
        return exitChartError;
    } catch (const Error& error) {
        err << "plotara: " << error.what() << '\n';
        return exitChartError;
    } catch (const std::exception& error) {
        // File-system and allocation failures: the chart could not be made.
        err << "plotara: " << error.what() << '\n';
        return exitChartError;
    }
    // A full disk or a closed pipe behind standard output is a failure, not a success.
    errno = 0;
    out.flush();
    if (!out) {
        err << "plotara: cannot write to standard output"
            << (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string()) << '\n';
        return exitChartError;
    }
    return exitSuccess;
}

} // namespace plotara::apps

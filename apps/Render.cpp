#include "apps/Render.h"

#include "apps/ChartSession.h"
#include "apps/InputRoutes.h"
#include "apps/OutputWriters.h"
#include "apps/ShaperPreload.h"
#include "platform/PictureSize.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <optional>
#include <sstream>

namespace plotara::apps {

namespace {

// Quotes a word for a POSIX shell when it needs it.
std::string shellWord(const std::string& word) {
    if (!word.empty() &&
        word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
                               "-_./=:,+%@") == std::string::npos)
        return word;
    std::string quoted = "'";
    for (char c : word) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

// --zoom: the part of the chart shown, as the desktop's zoom shows it.
void applyZoom(ChartPlayer& player, const std::vector<double>& zoom) {
    if (zoom.empty()) return;
    if (zoom.size() != 2 && zoom.size() != 4) throw UsageFailure("--zoom takes 2 or 4 numbers");
    const VisibleRange whole = player.fullRange();
    const VisibleRange range{zoom[0], zoom[1], zoom.size() == 4 ? zoom[2] : whole.yMin,
                             zoom.size() == 4 ? zoom[3] : whole.yMax};
    if (!player.setVisibleRange(range))
        throw UsageFailure("--zoom: the chart does not zoom, or the range is empty");
}

} // namespace

void renderChart(const RenderRequest& request, std::ostream& out, std::ostream* notes) {
    const bool printing = request.printXml || request.printUrl;
    if (!printing && request.output.empty() && request.layoutJson.empty())
        throw UsageFailure("no output: give -o FILE (.png, .svg, .pdf, .bmp, .html or - for PNG "
                           "on standard output), --print-xml or --print-url");
    if (!request.output.empty()) {
        const OutputFormat format = outputFormatOf(request.output);
        // Pictures are at most maxPictureSide pixels a side; a scale beyond that is refused rather
        // than quietly lowered.
        const double side = std::max(request.width, request.height) * request.scale;
        if ((format == OutputFormat::Png || format == OutputFormat::Bmp) && side > maxPictureSide)
            throw UsageFailure("--scale " + (std::ostringstream() << request.scale).str() +
                               " makes a " +
                               std::to_string(static_cast<long long>(std::ceil(side))) +
                               "-pixel side; the largest is " + std::to_string(maxPictureSide) +
                               " (lower --scale, --width or --height)");
    }
    if (request.output == "-" && request.layoutJson == "-")
        throw UsageFailure("-o - and --layout-json - would both write to standard output");

    ChartSession session(request.width, request.height, findChartsDir(request.chartsDir));
    session.player().setPaintThreads(request.paintThreads);
    session.selectType(request.type);
    applyChartOptions(session, request);
    // A picture of pixels is on its way: the player's second paint thread starts now, while the
    // input is loaded and the chart laid out; and the text shaper's library opens meanwhile on a
    // thread of the program's own (ShaperPreload.h), started after the paint thread, whose start
    // would otherwise wait for the loader.
    std::optional<ShaperPreload> shaper;
    if (request.paintThreads > 1 && !request.output.empty() && isRasterOutput(request.output)) {
        session.player().warmUpPaintThreads();
        shaper.emplace();
    }
    loadInput(session, request);
    // Nothing is printed for a run that fails: the texts wait for the chart and its output.
    const std::string url = request.printUrl ? session.movieUrl() : std::string();
    const std::string document = request.printXml ? chartDocument(session) : std::string();
    session.requireChart();
    applyZoom(session.player(), request.zoom);
    if (!request.output.empty())
        writeChart(session.player(), request.output, request.scale, out, vectorOptionsOf(request));
    if (request.layoutJson == "-") {
        out << session.player().layoutJson();
    } else if (!request.layoutJson.empty()) {
        writeFileAtomically(request.layoutJson, session.player().layoutJson());
    }
    if (request.printUrl) out << url << '\n';
    if (request.printXml) out << document << '\n';
    if (notes != nullptr) {
        for (const std::string& note : session.notes())
            *notes << "plotara: note: " << note << '\n';
        for (const std::string& note : session.player().scene().layout.notes)
            *notes << "plotara: note: " << note << '\n';
    }
}

std::string commandLine(const RenderRequest& request) {
    std::string line = "plotara render --type " + shellWord(request.type);
    auto add = [&](const char* option, const std::string& value) {
        if (!value.empty()) line += std::string(" ") + option + " " + shellWord(value);
    };
    switch (request.route) {
    case InputRoute::Sample:
        line += " --sample";
        break;
    case InputRoute::Xml:
        add("--xml", request.xmlFile);
        break;
    case InputRoute::Url:
        add("--url", request.url);
        break;
    case InputRoute::Csv:
        add("--csv", request.csvFile);
        break;
    case InputRoute::Sqlite:
        add("--db", request.dbFile);
        add("--sql", request.sql);
        break;
    case InputRoute::Odbc:
        add("--odbc", request.odbc);
        add("--sql", request.sql);
        break;
    case InputRoute::None:
        break;
    }
    add("--delimiter", request.delimiter);
    add("--category", request.categoryColumn);
    add("--value", request.valueColumn);
    add("--series", request.seriesColumn);
    if (request.sortCategories) line += " --sort-categories";
    add("--secondary", request.secondary);
    add("--render-as", request.renderAs);
    if (request.strict) line += " --strict";
    for (const std::string& param : request.params)
        add("--param", param);
    add("--colors", request.colors);
    for (const auto& [kind, text] : request.messages)
        add("--message", kind + "=" + text);
    line +=
        " --width " + std::to_string(request.width) + " --height " + std::to_string(request.height);
    if (request.scale != 1) add("--scale", std::to_string(request.scale));
    if (request.svgText == player::SvgTextMode::Paths) line += " --svg-text paths";
    if (request.htmlFragment) line += " --html-fragment";
    if (!request.htmlZoom) line += " --html-no-zoom";
    add("--html-id", request.htmlId);
    std::string zoom;
    for (double v : request.zoom)
        zoom +=
            (zoom.empty() ? "" : ",") + (std::ostringstream() << std::setprecision(17) << v).str();
    add("--zoom", zoom);
    add("-o", request.output);
    add("--layout-json", request.layoutJson);
    return line;
}

} // namespace plotara::apps

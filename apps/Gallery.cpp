#include "apps/Gallery.h"

#include "apps/ChartSession.h"
#include "apps/InputRoutes.h"
#include "apps/OutputWriters.h"
#include "apps/Progress.h"
#include "apps/Render.h"
#include "apps/WorkerPool.h"
#include "control/Catalogue.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace plotara::apps {

namespace {

struct DatabaseChart {
    const char* stem;
    const char* title;
    const char* type;
    const char* sql;
    const char* category;
    const char* value;
    const char* series;
    std::vector<std::string> params;
};

const std::vector<DatabaseChart>& databaseCharts() {
    static const std::vector<DatabaseChart> charts{
        {"db-revenue-by-month",
         "Revenue by month (one series)",
         "column2d",
         "SELECT month, ROUND(SUM(revenue), 2) AS revenue FROM monthly_sales "
         "JOIN months USING (month_no) GROUP BY month_no ORDER BY month_no",
         "month",
         "revenue",
         "",
         {"caption=Revenue by month", "numberPrefix=$", "formatNumberScale=1", "showValues=0"}},
        {"db-revenue-by-region",
         "Revenue by region (grouped form)",
         "msline2d",
         "SELECT region, month, revenue FROM revenue_by_region",
         "month",
         "revenue",
         "region",
         {"caption=Revenue by region", "numberPrefix=$", "formatNumberScale=1", "showValues=0"}},
        {"db-revenue-by-product",
         "Revenue by product (column form)",
         "stackedcolumn2d",
         "SELECT * FROM revenue_by_product",
         "month",
         "Laptops;Tablets;Phones",
         "",
         {"caption=Revenue by product", "numberPrefix=$", "formatNumberScale=1"}},
        {"db-units-by-region",
         "Units by region and month (grouped form)",
         "mscolumn2d",
         "SELECT region, month, SUM(units) AS units FROM monthly_sales "
         "JOIN months USING (month_no) GROUP BY region, month_no ORDER BY region, month_no",
         "month",
         "units",
         "region",
         {"caption=Units sold", "yAxisName=Units", "showValues=0"}},
        {"db-product-share",
         "Share of revenue by product",
         "pie2d",
         "SELECT product, ROUND(SUM(revenue), 2) AS revenue FROM monthly_sales "
         "GROUP BY product ORDER BY revenue DESC",
         "product",
         "revenue",
         "",
         {"caption=Share of revenue", "showPercentValues=1"}},
        {"db-response-times",
         "Response time under load (scatter)",
         "scatter",
         "SELECT endpoint, load_rps, response_ms FROM response_times ORDER BY endpoint, load_rps",
         "load_rps",
         "response_ms",
         "endpoint",
         {"caption=95th percentile response time", "xAxisName=Requests per second",
          "yAxisName=ms"}},
        {"db-customer-segments",
         "Customer segments (bubble)",
         "bubble",
         "SELECT segment, avg_order_value, retention_pct, customers FROM customer_segments",
         "avg_order_value",
         "retention_pct;customers",
         "segment",
         {"caption=Customer segments", "xAxisName=Average order value", "yAxisName=Retention %"}},
        {"db-units-table",
         "Units by product (grid)",
         "grid",
         "SELECT product, SUM(units) AS units FROM monthly_sales GROUP BY product",
         "product",
         "units",
         "",
         {}},
    };
    return charts;
}

std::string twoDigits(long n) {
    const std::string digits = std::to_string(n);
    return digits.size() < 2 ? "0" + digits : digits;
}

std::string escapeHtml(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

std::vector<GalleryEntry> galleryEntries(const GalleryOptions& options) {
    std::vector<GalleryEntry> entries;
    auto base = [&](const std::string& stem) {
        RenderRequest request;
        request.width = options.width;
        request.height = options.height;
        request.chartsDir = options.chartsDir;
        request.output = stem + ".png";
        return request;
    };
    for (const String& name : catalogue::groupNames(0)) {
        const std::string type = toUtf8(name);
        const std::string stem = twoDigits(catalogue::typeOfName(name)) + "-" + type;
        GalleryEntry entry{stem, type, base(stem)};
        entry.request.type = type;
        entry.request.route = InputRoute::Sample;
        entries.push_back(std::move(entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const GalleryEntry& a, const GalleryEntry& b) { return a.stem < b.stem; });
    for (const DatabaseChart& chart : databaseCharts()) {
        GalleryEntry entry{chart.stem, chart.title, base(chart.stem)};
        RenderRequest& request = entry.request;
        request.type = chart.type;
        request.route = InputRoute::Sqlite;
        // Absolute, so that the page's commands work from the gallery folder they are shown in.
        if (!options.dbFile.empty())
            request.dbFile = std::filesystem::absolute(options.dbFile).lexically_normal().string();
        request.sql = chart.sql;
        request.categoryColumn = chart.category;
        request.valueColumn = chart.value;
        request.seriesColumn = chart.series;
        request.params = chart.params;
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string galleryIndexHtml(const std::vector<GalleryEntry>& entries,
                             const std::vector<std::string>& failed) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<title>Plotara gallery</title>\n<style>\n"
        "body{font-family:sans-serif;margin:2em;background:#f4f4f4}\n"
        ".grid{display:flex;flex-wrap:wrap;gap:1.5em}\n"
        "figure{margin:0;background:#fff;padding:.8em;border:1px solid #ddd;max-width:520px}\n"
        "figure img{display:block;max-width:100%}\n"
        "figcaption b{display:block;margin:.5em 0 .3em}\n"
        "code{display:block;font-size:12px;white-space:pre-wrap;word-break:break-all;"
        "background:#f8f8f8;padding:.4em}\n.failed{color:#b00}\n</style>\n</head>\n<body>\n"
        "<h1>Plotara gallery</h1>\n<p>Every chart type from its sample document, then charts "
        "from the sample database. Run in this folder, each command below makes the picture above "
        "it.</p>\n"
        "<div class=\"grid\">\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const GalleryEntry& entry = entries[i];
        html += "<figure id=\"" + escapeHtml(entry.stem) + "\">\n";
        if (failed[i].empty())
            html += "<a href=\"" + escapeHtml(entry.stem) + ".html\"><img src=\"" +
                    escapeHtml(entry.stem) + ".png\" alt=\"" + escapeHtml(entry.title) +
                    "\" width=\"" + std::to_string(entry.request.width) + "\" height=\"" +
                    std::to_string(entry.request.height) + "\"></a>\n";
        else
            html += "<p class=\"failed\">" + escapeHtml(failed[i]) + "</p>\n";
        html += "<figcaption><b>" + escapeHtml(entry.title) + "</b><code>" +
                escapeHtml(commandLine(entry.request)) + "</code></figcaption>\n</figure>\n";
    }
    html += "</div>\n</body>\n</html>\n";
    return html;
}

int runGallery(const GalleryOptions& options, std::ostream& progressOut, bool terminal) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(options.outDir, ec);
    if (ec || !fs::is_directory(options.outDir))
        throw ChartFailure("cannot create the folder " + options.outDir + ": " + ec.message());
    const std::string chartsDir = findChartsDir(options.chartsDir);

    const std::vector<GalleryEntry> entries = galleryEntries(options);
    Progress progress(progressOut, static_cast<int>(entries.size()), terminal);
    const fs::path dir(options.outDir);
    const int pool = workerCount(options.jobs);
    auto drawEntry = [&](std::size_t i) {
        const RenderRequest& request = entries[i].request;
        ChartSession session(request.width, request.height, chartsDir);
        // With several workers the cores are taken: each picture is painted by its worker.
        if (pool > 1) session.player().setPaintThreads(1);
        session.selectType(request.type);
        applyChartOptions(session, request);
        loadInput(session, request);
        session.requireChart();
        const std::string png = encodeChart(session.player(), OutputFormat::Png, 1);
        const std::string svg = encodeChart(session.player(), OutputFormat::Svg, 1);
        const std::string page = encodeChart(session.player(), OutputFormat::Html, 1);
        writeFileAtomically((dir / (entries[i].stem + ".png")).string(), png);
        writeFileAtomically((dir / (entries[i].stem + ".svg")).string(), svg);
        writeFileAtomically((dir / (entries[i].stem + ".html")).string(), page);
    };
    // Steps are reported in gallery order, as soon as every earlier chart is done, so a log
    // reads the same whatever order the threads finish in.
    std::vector<bool> done(entries.size());
    std::size_t reported = 0;
    auto finished = [&](std::size_t i, const std::string&) {
        done[i] = true;
        while (reported < entries.size() && done[reported])
            progress.step(entries[reported++].stem);
    };
    const std::vector<std::string> failed = runTasks(entries.size(), pool, drawEntry, finished);
    progress.finish();
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (!failed[i].empty())
            progressOut << "failed " << entries[i].stem << ": " << failed[i] << '\n';
    writeFileAtomically((dir / "index.html").string(), galleryIndexHtml(entries, failed));
    int count = 0;
    for (const std::string& error : failed)
        count += error.empty() ? 0 : 1;
    return count;
}

} // namespace plotara::apps

#include "apps/InputRoutes.h"

#include "apps/ColumnPlan.h"
#include "apps/CsvReader.h"
#include "apps/DatabaseFill.h"
#include "apps/ParamCheck.h"
#include "apps/SampleDatabase.h"
#include "apps/TableFill.h"
#include "apps/TextFiles.h"
#include "control/MovieUrlText.h"
#include "core/ChartTypes.h"
#include "core/Error.h"
#include "core/Text.h"
#include "data/EscapeText.h"
#include "platform/sqlite/SqliteRecordset.h"
#include "player/MovieUrlParser.h"
#include "player/util/TextUtil.h"
#ifdef PLOTARA_HAVE_ODBC
#include "platform/odbc/OdbcConnection.h"
#include "platform/odbc/OdbcRecordset.h"
#endif

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>

namespace plotara::apps {

namespace {

struct MessageKind {
    const char* name;
    enumChartMessageType type;
};

constexpr std::array<MessageKind, 7> messageKinds{{
    {"loading", enumChartMessageType::Chart_Load_on_Progress},
    {"retrieving", enumChartMessageType::Retrieving_Data},
    {"reading", enumChartMessageType::Reading_Data},
    {"no-data", enumChartMessageType::No_data_to_display},
    {"rendering", enumChartMessageType::Rendering_Chart},
    {"load-error", enumChartMessageType::Error_in_loading_data},
    {"invalid-xml", enumChartMessageType::Invalid_XML_data},
}};

bool wholeDocumentRoute(InputRoute route) {
    return route == InputRoute::Sample || route == InputRoute::Xml || route == InputRoute::Url;
}

// A message text as a movie URL query value that the player decodes back to exactly the text:
// "%" and "&" (which would start a percent code or a further parameter) and control characters
// are percent-encoded, everything else stays legible.
std::string queryValue(const std::string& text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '%' || c == '&' || c == '#' || byte < 0x20 || byte == 0x7F) {
            encoded += '%';
            encoded += hex[byte >> 4];
            encoded += hex[byte & 0xF];
        } else {
            encoded += c;
        }
    }
    return encoded;
}

// The text with every "%" as "%25", so that one percent decoding gives the text back.
std::string percentEncoded(const std::string& text) {
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        if (c == '%')
            encoded += "%25";
        else
            encoded += c;
    }
    return encoded;
}

bool hexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// The location --url hands the control. A file: URL becomes its local path and a relative path
// an absolute one, so that the control's existence check and the player read the same file; a
// web address stays as it is. Raises UsageFailure for a local path holding a percent code,
// which the player would decode into another name, and ChartFailure as checkDataFile.
std::string dataLocation(const std::string& given, std::size_t limit) {
    if (given.starts_with("http://") || given.starts_with("https://")) return given;
    std::string path = given;
    if (path.starts_with("file://")) {
        // file:///abs/x.xml and file://localhost/abs/x.xml name /abs/x.xml, percent codes decoded.
        path.erase(0, 7);
        if (path.starts_with("localhost/")) path.erase(0, 9);
        path = player::percentDecode(path);
    }
    for (std::size_t i = 0; i + 2 < path.size(); ++i)
        if (path[i] == '%' && hexDigit(path[i + 1]) && hexDigit(path[i + 2]))
            throw UsageFailure("--url cannot name a file whose path holds a percent code (" +
                               path.substr(i, 3) + "); give the file with --xml");
    checkDataFile(path, limit);
    return std::filesystem::absolute(path).lexically_normal().string();
}

// Runs a database route's error as the chart's failure: the database's own message.
[[noreturn]] void failWith(const Error& error) {
    throw ChartFailure(error.what());
}

// Every row of a recordset as a table, under the recordset's own column names.
template <class Rows>
CellTable tableOf(const std::shared_ptr<Rows>& rows) {
    return readQueryTable(*rows, rows->columnNames());
}

// Opens the database the request's route names (the --db file or the built-in sample for
// SQLite, the connection string for ODBC), runs the query and reads its rows; the recordset
// keeps its connection open while it is read. A database error becomes the chart's failure, with
// the database's own message; ODBC in a build without it is a UsageFailure.
CellTable queryTable(const RenderRequest& request) {
    try {
        if (request.route == InputRoute::Sqlite) {
            const auto db = request.dbFile.empty() ? openSampleDatabase()
                                                   : SqliteDatabase::open(request.dbFile);
            return tableOf(db->query(fromUtf8(request.sql)));
        }
#ifdef PLOTARA_HAVE_ODBC
        const auto db =
            OdbcConnection::open(fromUtf8(request.odbc), OdbcConnection::Access::ReadOnly);
        return tableOf(db->query(fromUtf8(request.sql)));
#else
        throw UsageFailure("this plotara was built without ODBC (install unixodbc-dev)");
#endif
    } catch (const Error& error) {
        failWith(error);
    }
}

// Lays the table out for the chart by the request's columns and records it in Data.
void fillFromTable(ChartSession& session, const CellTable& table, const RenderRequest& request,
                   bool positionalDefaults) {
    const Long type = session.chartType();
    FillOptions options;
    options.styles = parseSeriesStyles(request, type);
    options.sortCategories = request.sortCategories;
    for (std::string& note :
         fillChart(session.data(), type, table,
                   planColumns(table, request, type, positionalDefaults), options))
        session.addNote(std::move(note));
}

// True for the single-series line and area charts, which draw their values as one shape.
bool drawsOneLine(Long type) {
    const chart_types::ChartType* row = chart_types::find(type);
    return row && row->kind == chart_types::SeriesKind::Single &&
           (row->family == chart_types::Family::Line || row->family == chart_types::Family::Area);
}

} // namespace

void applyChartOptions(ChartSession& session, const RenderRequest& request) {
    if (wholeDocumentRoute(request.route) && (!request.params.empty() || !request.colors.empty()))
        throw UsageFailure("--param and --colors apply to data from --csv, --db and --odbc; "
                           "an XML document carries its own attributes");
    PlotaraData& data = session.data();
    for (const std::string& param : request.params) {
        const auto eq = param.find('=');
        if (eq == std::string::npos || eq == 0)
            throw UsageFailure("--param needs name=value, got '" + param + "'");
        const String name = text::trim(fromUtf8(param.substr(0, eq)));
        requireAttributeName(toUtf8(name));
        // Escaped here so that any value (with ; ' & or <) reaches the document intact.
        data.setChartParam(name, escapeText(fromUtf8(param.substr(eq + 1))));
    }
    if (!request.colors.empty()) {
        requireColorList(request.colors);
        if (drawsOneLine(session.chartType())) {
            // A single line or area has one colour, which the player takes from the palette; the
            // per-set colours addColors records would colour nothing on these charts.
            std::string palette = request.colors;
            std::replace(palette.begin(), palette.end(), ';', ',');
            data.setChartParam(L"paletteColors", fromUtf8(palette));
        } else {
            data.addColors(fromUtf8(request.colors));
        }
    }
    for (const auto& [kind, message] : request.messages) {
        const MessageKind* found = nullptr;
        for (const MessageKind& candidate : messageKinds)
            if (kind == candidate.name) found = &candidate;
        if (!found) {
            std::string names;
            for (const MessageKind& candidate : messageKinds)
                names += (names.empty() ? "" : ", ") + std::string(candidate.name);
            throw UsageFailure("unknown message kind '" + kind + "' (one of " + names + ")");
        }
        // The control places a message into the URL as it is; encoded here, it reaches the chart
        // as typed.
        session.control().SetChartMessage(found->type, fromUtf8(queryValue(message)));
    }
}

void loadInput(ChartSession& session, const RenderRequest& request) {
    Plotara& control = session.control();
    switch (request.route) {
    case InputRoute::None:
        throw UsageFailure("no data: give --sample, --xml, --url, --csv, --sql (with --db or "
                           "--odbc, or on the built-in sample database)");
    case InputRoute::Sample:
        control.put_setDataXML(control.GetSampleXML());
        return;
    case InputRoute::Xml: {
        // The file's UTF-8 text goes to the control as it is, shared: no wide copy is made.
        std::string text = readTextFile(request.xmlFile, request.inputLimit);
        requireDocument(request.xmlFile, text);
        // The player decodes the movie URL's percent codes once; encoding "%" keeps the file's
        // text exactly as --url reads it.
        if (text.find('%') != std::string::npos) text = percentEncoded(text);
        control.put_setDataXMLText(std::make_shared<const std::string>(std::move(text)));
        return;
    }
    case InputRoute::Url:
        control.put_setDataURL(fromUtf8(dataLocation(request.url, request.inputLimit)));
        return;
    case InputRoute::Csv: {
        // The cell table is given up once the data object holds its values, before the chart
        // is drawn.
        {
            const CsvTable table =
                readCsvFile(request.csvFile, csvDelimiterOf(request.delimiter), request.inputLimit);
            fillFromTable(session, table, request, true);
        }
        control.RenderChart();
        return;
    }
    case InputRoute::Sqlite:
    case InputRoute::Odbc:
        fillFromTable(session, queryTable(request), request, false);
        control.RenderChart();
        return;
    }
}

std::string chartDocument(ChartSession& session) {
    // The document as the player received it: the movie URL's dataXML, or the file of dataURL.
    const player::MovieUrl url = player::parseMovieUrl(session.movieUrl());
    if (const std::string* xml = url.find("dataXML")) return *xml;
    if (const std::string* location = url.find("dataURL")) {
        const std::string path = player::localPathFromLocation(*location);
        if (path.empty()) throw ChartFailure("web addresses are not read: " + *location);
        return toUtf8(movieurl::StripLineBreaks(fromUtf8(readTextFile(path))));
    }
    throw ChartFailure("the movie URL carries no document");
}

} // namespace plotara::apps

#include "apps/BatchJobs.h"

#include "apps/ParamCheck.h"
#include "platform/PictureSize.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>

namespace plotara::apps {

namespace {

using nlohmann::json;

// A line that is not a valid job; the message says what is wrong with it.
struct LineError {
    std::string message;
};

const std::vector<std::string> fieldNames{"type",
                                          "sample",
                                          "xml",
                                          "url",
                                          "csv",
                                          "sql",
                                          "db",
                                          "odbc",
                                          "delimiter",
                                          "category",
                                          "value",
                                          "series",
                                          "sort-categories",
                                          "secondary",
                                          "render-as",
                                          "param",
                                          "strict",
                                          "colors",
                                          "message",
                                          "width",
                                          "height",
                                          "scale",
                                          "output",
                                          "svg-text",
                                          "html-fragment",
                                          "html-id",
                                          "html-zoom",
                                          "charts"};

std::string nearestField(const std::string& name) {
    const std::string* nearest = nullptr;
    std::size_t best = 0;
    for (const std::string& known : fieldNames) {
        const std::size_t d = nameDistance(name, known);
        if (nearest == nullptr || d < best) {
            nearest = &known;
            best = d;
        }
    }
    if (nearest != nullptr && best <= std::max<std::size_t>(2, name.size() / 2))
        return " (did you mean \"" + *nearest + "\"?)";
    return " (known fields: type, xml, csv, sql, output, width, ...; see plotara batch --help)";
}

// A field's name as a message quotes it: cut, and without control characters.
std::string shown(const std::string& text) {
    std::string out;
    for (char c : text.substr(0, 60))
        out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    return text.size() > 60 ? out + "..." : out;
}

std::string textField(const json& value, const std::string& name) {
    if (!value.is_string()) throw LineError{"\"" + name + "\" must be a string"};
    return value.get<std::string>();
}

bool flagField(const json& value, const std::string& name) {
    if (!value.is_boolean()) throw LineError{"\"" + name + "\" must be true or false"};
    return value.get<bool>();
}

int sizeField(const json& value, const std::string& name) {
    if (!value.is_number_integer() || value.get<long long>() < 1 ||
        value.get<long long>() > maxPictureSide)
        throw LineError{"\"" + name + "\" must be a whole number from 1 to " +
                        std::to_string(maxPictureSide)};
    return static_cast<int>(value.get<long long>());
}

// "name=value" pieces from an array of such strings or an object of names and values.
std::vector<std::string> pairsField(const json& value, const std::string& name) {
    std::vector<std::string> pairs;
    if (value.is_object()) {
        for (const auto& [key, item] : value.items()) {
            if (item.is_string())
                pairs.push_back(key + "=" + item.get<std::string>());
            else if (item.is_number())
                pairs.push_back(key + "=" + item.dump());
            else
                throw LineError{"\"" + name + "\": the value of \"" + shown(key) +
                                "\" must be a string or a number"};
        }
        return pairs;
    }
    if (!value.is_array())
        throw LineError{"\"" + name + "\" must be an array of \"name=value\" strings or an object"};
    for (const json& item : value) {
        const std::string pair = textField(item, name + "\" item \"");
        if (pair.find('=') == std::string::npos || pair.front() == '=')
            throw LineError{"\"" + name + "\" needs name=value, got \"" + shown(pair) + "\""};
        pairs.push_back(pair);
    }
    return pairs;
}

void setField(RenderRequest& r, bool& sample, const std::string& name, const json& value) {
    static const std::map<std::string, std::string RenderRequest::*> texts{
        {"xml", &RenderRequest::xmlFile},         {"url", &RenderRequest::url},
        {"csv", &RenderRequest::csvFile},         {"sql", &RenderRequest::sql},
        {"db", &RenderRequest::dbFile},           {"odbc", &RenderRequest::odbc},
        {"delimiter", &RenderRequest::delimiter}, {"category", &RenderRequest::categoryColumn},
        {"value", &RenderRequest::valueColumn},   {"series", &RenderRequest::seriesColumn},
        {"secondary", &RenderRequest::secondary}, {"render-as", &RenderRequest::renderAs},
        {"colors", &RenderRequest::colors},       {"output", &RenderRequest::output},
        {"charts", &RenderRequest::chartsDir},    {"html-id", &RenderRequest::htmlId}};
    if (const auto text = texts.find(name); text != texts.end()) {
        r.*(text->second) = textField(value, name);
    } else if (name == "type") {
        if (!value.is_number_integer() && !value.is_string())
            throw LineError{"\"type\" must be a chart type name or a number from 1 to 37"};
        r.type = value.is_string() ? value.get<std::string>() : value.dump();
    } else if (name == "sample") {
        sample = flagField(value, name);
    } else if (name == "sort-categories") {
        r.sortCategories = flagField(value, name);
    } else if (name == "strict") {
        r.strict = flagField(value, name);
    } else if (name == "html-fragment") {
        r.htmlFragment = flagField(value, name);
    } else if (name == "html-zoom") {
        r.htmlZoom = flagField(value, name);
    } else if (name == "width") {
        r.width = sizeField(value, name);
    } else if (name == "height") {
        r.height = sizeField(value, name);
    } else if (name == "scale") {
        if (!value.is_number() || value.get<double>() < 0.25 || value.get<double>() > 8)
            throw LineError{"\"scale\" must be a number from 0.25 to 8"};
        r.scale = value.get<double>();
    } else if (name == "svg-text") {
        const std::string mode = value.is_string() ? value.get<std::string>() : std::string();
        if (mode != "text" && mode != "paths")
            throw LineError{"\"svg-text\" must be \"text\" or \"paths\""};
        r.svgText = mode == "text" ? player::SvgTextMode::Text : player::SvgTextMode::Paths;
    } else if (name == "param") {
        r.params = pairsField(value, name);
    } else if (name == "message") {
        for (const std::string& pair : pairsField(value, name)) {
            const auto eq = pair.find('=');
            r.messages.emplace_back(pair.substr(0, eq), pair.substr(eq + 1));
        }
    } else {
        throw LineError{"unknown field \"" + shown(name) + "\"" + nearestField(name)};
    }
}

// Chooses the data route as `plotara render` does and checks what it cannot mix.
void resolveRoute(RenderRequest& r, bool sample) {
    const int routes = (sample ? 1 : 0) + !r.xmlFile.empty() + !r.url.empty() + !r.csvFile.empty() +
                       !r.sql.empty();
    if (routes != 1)
        throw LineError{"give exactly one of \"sample\", \"xml\", \"url\", \"csv\", \"sql\""};
    if (sample)
        r.route = InputRoute::Sample;
    else if (!r.xmlFile.empty())
        r.route = InputRoute::Xml;
    else if (!r.url.empty())
        r.route = InputRoute::Url;
    else if (!r.csvFile.empty())
        r.route = InputRoute::Csv;
    else
        r.route = r.odbc.empty() ? InputRoute::Sqlite : InputRoute::Odbc;
    if (r.xmlFile == "-" || r.csvFile == "-")
        throw LineError{"a batch job cannot read standard input"};
    if (!r.dbFile.empty() && !r.odbc.empty()) throw LineError{"give \"db\" or \"odbc\", not both"};
    if ((!r.dbFile.empty() || !r.odbc.empty()) && r.sql.empty())
        throw LineError{"\"db\" and \"odbc\" need \"sql\""};
    if (!r.delimiter.empty() && r.csvFile.empty()) throw LineError{"\"delimiter\" needs \"csv\""};
    const bool database = r.route == InputRoute::Sqlite || r.route == InputRoute::Odbc;
    const bool table = database || r.route == InputRoute::Csv;
    if (!table && (!r.categoryColumn.empty() || !r.valueColumn.empty() || !r.seriesColumn.empty() ||
                   !r.secondary.empty() || !r.renderAs.empty() || r.sortCategories))
        throw LineError{"\"category\", \"value\", \"series\", \"secondary\", \"render-as\" and "
                        "\"sort-categories\" choose columns of \"csv\" or \"sql\" data"};
    if (database && r.valueColumn.empty()) throw LineError{"\"sql\" needs \"value\""};
}

// The request of one line. Raises LineError.
RenderRequest parseJob(const std::string& line, std::ostream& warnings, const std::string& where) {
    json object;
    try {
        // A field given twice would otherwise quietly keep its last value.
        std::set<std::string> fields;
        object = json::parse(line, [&fields](int depth, json::parse_event_t event, json& key) {
            if (depth == 1 && event == json::parse_event_t::key &&
                !fields.insert(key.get<std::string>()).second)
                throw LineError{"field \"" + shown(key.get<std::string>()) + "\" given twice"};
            return true;
        });
    } catch (const json::parse_error& error) {
        std::string message = error.what();
        if (const auto end = message.find("] "); end != std::string::npos)
            message.erase(0, end + 2);
        throw LineError{"not JSON: " + message};
    }
    if (!object.is_object()) throw LineError{"a job must be a JSON object {...}"};
    RenderRequest request;
    // A batch writes pages by the hundred: a line or scatter page's zoom windows (the chart laid
    // out 25 times more, twice the page) only when the job asks for them.
    request.htmlZoom = false;
    bool sample = false;
    for (const auto& [name, value] : object.items())
        setField(request, sample, name, value);
    if (request.output.empty())
        throw LineError{"no \"output\" file (.png, .svg, .pdf, .bmp or .html)"};
    if (request.output == "-") throw LineError{"a batch job cannot write to standard output"};
    resolveRoute(request, sample);
    std::ostringstream paramWarnings;
    try {
        warnUnknownParams(request.params, request.strict, paramWarnings);
    } catch (const UsageFailure& failure) {
        throw LineError{failure.what()};
    }
    std::istringstream lines(paramWarnings.str());
    for (std::string warning; std::getline(lines, warning);)
        warnings << where << ": " << warning << '\n';
    return request;
}

} // namespace

const std::vector<std::string>& batchFieldNames() {
    return fieldNames;
}

std::vector<BatchJob> readBatchJobs(std::istream& in, const std::string& source,
                                    std::ostream& warnings) {
    std::vector<BatchJob> jobs;
    std::vector<std::string> errors;
    std::map<std::string, int> outputs; // output file -> the line that first names it
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        const std::string where = source + " line " + std::to_string(number);
        try {
            RenderRequest request = parseJob(line, warnings, where);
            const auto [seen, added] = outputs.emplace(
                std::filesystem::path(request.output).lexically_normal().string(), number);
            if (!added)
                throw LineError{"output \"" + shown(request.output) + "\" is also line " +
                                std::to_string(seen->second) + "'s"};
            jobs.push_back({number, std::move(request)});
        } catch (const LineError& error) {
            errors.push_back(where + ": " + error.message);
        }
    }
    if (in.bad()) throw UsageFailure("cannot read " + source);
    if (errors.empty() && jobs.empty()) throw UsageFailure(source + " holds no jobs");
    if (errors.empty()) return jobs;
    constexpr std::size_t shownErrors = 20;
    std::string message = std::to_string(errors.size()) + " malformed line(s) in " + source;
    for (std::size_t i = 0; i < errors.size() && i < shownErrors; ++i)
        message += "\n  " + errors[i];
    if (errors.size() > shownErrors)
        message += "\n  ... and " + std::to_string(errors.size() - shownErrors) + " more";
    throw UsageFailure(message);
}

} // namespace plotara::apps

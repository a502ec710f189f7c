#include "player/model/ChartParser.h"

#include "player/util/TextUtil.h"

#include <pugixml.hpp>

namespace plotara::player {

bool ChartModel::hasData() const {
    auto anyValue = [](const std::vector<Series>& list) {
        for (const Series& s : list) {
            for (const DataPoint& p : s.points) {
                if (!isMissing(p.value)) return true;
            }
            for (const XYPoint& p : s.xy) {
                if (!isMissing(p.x) && !isMissing(p.y)) return true;
            }
        }
        return false;
    };
    return anyValue(datasets) || anyValue(linesets);
}

namespace {

bool named(const pugi::xml_node& node, std::string_view name) {
    return node.type() == pugi::node_element && equalsNoCase(node.name(), name);
}

Attributes attributesOf(const pugi::xml_node& node) {
    Attributes attrs;
    for (const pugi::xml_attribute& a : node.attributes())
        attrs.set(a.name(), a.value());
    return attrs;
}

double numberOr(const Attributes& attrs, std::string_view name) {
    return attrs.optionalNumber(name).value_or(missingValue);
}

DataPoint pointOf(const pugi::xml_node& node) {
    DataPoint p;
    p.attrs = attributesOf(node);
    p.value = numberOr(p.attrs, "value");
    return p;
}

// The point of a set element in both forms: by category (value) and by position (x, y, z).
void addSet(Series& series, const pugi::xml_node& node) {
    DataPoint p = pointOf(node);
    if (p.attrs.has("x") || p.attrs.has("y")) {
        XYPoint xy;
        xy.x = numberOr(p.attrs, "x");
        xy.y = numberOr(p.attrs, "y");
        xy.z = numberOr(p.attrs, "z");
        xy.attrs = p.attrs;
        if (isMissing(p.value)) p.value = xy.y;
        series.xy.push_back(std::move(xy));
    }
    series.points.push_back(std::move(p));
}

Series seriesOf(const pugi::xml_node& node, int stack) {
    Series s;
    s.attrs = attributesOf(node);
    s.name = s.attrs.text("seriesname", s.attrs.text("name"));
    s.stack = stack;
    for (const pugi::xml_node& child : node.children()) {
        if (named(child, "set")) addSet(s, child);
    }
    return s;
}

void readTrendLines(const pugi::xml_node& node, std::vector<TrendLine>& out) {
    for (const pugi::xml_node& child : node.children()) {
        if (!named(child, "line")) continue;
        TrendLine t;
        t.attrs = attributesOf(child);
        t.start = numberOr(t.attrs, "startvalue");
        if (isMissing(t.start)) t.start = numberOr(t.attrs, "value");
        t.end = numberOr(t.attrs, "endvalue");
        if (isMissing(t.end)) t.end = t.start;
        t.zone = t.attrs.flag("istrendzone", t.end != t.start);
        if (!isMissing(t.start)) out.push_back(std::move(t));
    }
}

void readStyles(const pugi::xml_node& node, ChartModel& model) {
    for (const pugi::xml_node& part : node.children()) {
        if (named(part, "definition")) {
            for (const pugi::xml_node& style : part.children()) {
                if (!named(style, "style")) continue;
                StyleDefinition def;
                def.attrs = attributesOf(style);
                def.name = lowerAscii(trimSpace(def.attrs.text("name")));
                def.type = lowerAscii(trimSpace(def.attrs.text("type")));
                model.styles.push_back(std::move(def));
            }
        } else if (named(part, "application")) {
            for (const pugi::xml_node& apply : part.children()) {
                if (!named(apply, "apply")) continue;
                std::string object = lowerAscii(trimSpace(apply.attribute("toObject").value()));
                std::string styles = apply.attribute("styles").value();
                for (std::string_view name : splitView(styles, ',')) {
                    model.applications.emplace_back(object, lowerAscii(trimSpace(name)));
                }
            }
        }
    }
}

} // namespace

ParseResult parseChartXml(std::string_view xml) {
    ParseResult result;
    pugi::xml_document doc;
    pugi::xml_parse_result parsed =
        doc.load_buffer(xml.data(), xml.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed) {
        result.error = std::string(parsed.description()) + " at offset " +
                       std::to_string(static_cast<long long>(parsed.offset));
        return result;
    }
    pugi::xml_node root = doc.document_element();
    if (!named(root, "chart") && !named(root, "graph")) {
        result.error = root ? std::string("unexpected root element <") + root.name() + ">"
                            : std::string("no root element");
        return result;
    }
    result.ok = true;
    ChartModel& model = result.model;
    model.rootName = lowerAscii(root.name());
    model.chart = attributesOf(root);

    Series single;
    for (const pugi::xml_node& node : root.children()) {
        if (named(node, "set")) {
            addSet(single, node);
            model.singleSeries = true;
        } else if (named(node, "vline")) {
            std::size_t count = model.singleSeries ? single.points.size() : 0;
            model.vlines.push_back({count == 0 ? 0 : count - 1, attributesOf(node)});
        } else if (named(node, "categories")) {
            model.categoriesAttrs = attributesOf(node);
            for (const pugi::xml_node& c : node.children()) {
                if (named(c, "category")) {
                    Category cat;
                    cat.attrs = attributesOf(c);
                    cat.label = cat.attrs.text("label", cat.attrs.text("name"));
                    model.categories.push_back(std::move(cat));
                } else if (named(c, "vline")) {
                    std::size_t n = model.categories.size();
                    model.vlines.push_back({n == 0 ? 0 : n - 1, attributesOf(c)});
                }
            }
        } else if (named(node, "dataset")) {
            bool nested = false;
            for (const pugi::xml_node& c : node.children())
                nested = nested || named(c, "dataset");
            if (nested) {
                int stack = model.stackCount++;
                for (const pugi::xml_node& c : node.children()) {
                    if (named(c, "dataset")) model.datasets.push_back(seriesOf(c, stack));
                }
            } else {
                model.datasets.push_back(seriesOf(node, -1));
            }
        } else if (named(node, "lineset")) {
            model.linesets.push_back(seriesOf(node, -1));
        } else if (named(node, "trendlines") || named(node, "htrendlines")) {
            readTrendLines(node, model.trendlines);
        } else if (named(node, "vtrendlines")) {
            readTrendLines(node, model.vtrendlines);
        } else if (named(node, "styles")) {
            readStyles(node, model);
        }
    }
    if (model.singleSeries && model.datasets.empty()) {
        // A single-series document: the sets' labels are the categories.
        model.categories.clear();
        for (const DataPoint& p : single.points) {
            Category c;
            c.label = p.attrs.text("label", p.attrs.text("name"));
            model.categories.push_back(std::move(c));
        }
        model.datasets.push_back(std::move(single));
    }
    return result;
}

} // namespace plotara::player

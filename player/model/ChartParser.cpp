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
    return node.type() == pugi::node_element && isLowerNoCase(node.name(), name);
}

Attributes attributesOf(const pugi::xml_node& node, NumberSyntax syntax) {
    Attributes attrs;
    attrs.setNumberSyntax(syntax);
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
        attrs.set(a.name(), a.value());
    return attrs;
}

double numberOr(const Attributes& attrs, std::string_view name) {
    return attrs.optionalNumber(name).value_or(missingValue);
}

// The coordinate a set attribute holds: 0 value, 1 x, 2 y, 3 z; -1 for any other attribute.
int coordinateOf(const char* name) {
    auto is = [name](char lower) { return (name[0] | 0x20) == lower && name[1] == '\0'; };
    if (is('x')) return 1;
    if (is('y')) return 2;
    if (is('z')) return 3;
    return isLowerNoCase(name, "value") ? 0 : -1;
}

// The point of a set element in both forms: by category (value) and by position (x, y, z).
// The coordinates are kept as numbers only; the other attributes (label, color, link, ...) as
// texts. Sets are most of a large document, so their attributes are read by pointer. With
// categories given (the sets directly under the chart, whose labels are their categories), the
// label becomes the set's category (its name when it has no label) instead of an attribute.
void addSet(Series& series, const pugi::xml_node& node, NumberSyntax syntax,
            std::vector<Category>* categories = nullptr) {
    DataPoint p;
    p.attrs.setNumberSyntax(syntax);
    double coords[4] = {missingValue, missingValue, missingValue, missingValue};
    bool present[4] = {false, false, false, false};
    const char* label = nullptr;
    for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute()) {
        int k = coordinateOf(a.name());
        if (k < 0) {
            if (categories && isLowerNoCase(a.name(), "label")) {
                label = a.value(); // the last of repeated labels, as for any attribute
                continue;
            }
            p.attrs.set(a.name(), a.value());
            continue;
        }
        present[k] = true;
        coords[k] = parseNumber(a.value(), syntax).value_or(missingValue);
    }
    p.value = coords[0];
    if (present[1] || present[2]) {
        XYPoint xy;
        xy.x = coords[1];
        xy.y = coords[2];
        xy.z = coords[3];
        xy.point = series.points.size();
        if (isMissing(p.value)) p.value = xy.y;
        if (series.xy.empty()) series.xy.reserve(series.points.capacity());
        series.xy.push_back(xy);
    }
    if (categories) {
        Category c;
        c.label = label ? std::string(label) : p.attrs.text("name");
        categories->push_back(std::move(c));
    }
    series.points.push_back(std::move(p));
}

// Removes a set or category element once it is read: pugixml frees a page of its tree
// when the last node on it goes, and as the nodes lie in document order, the pages the model's
// series and categories grow into are those the tree has just given back, instead of the whole
// tree and the whole model being held at the end of the parse.
void giveUp(pugi::xml_node parent, pugi::xml_node node) {
    parent.remove_child(node);
}

Series seriesOf(pugi::xml_node node, int stack, NumberSyntax syntax) {
    Series s;
    s.attrs = attributesOf(node, syntax);
    s.name = s.attrs.text("seriesname", s.attrs.text("name"));
    s.stack = stack;
    std::size_t sets = 0;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling())
        ++sets;
    s.points.reserve(sets);
    for (pugi::xml_node child = node.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        if (named(child, "set")) {
            addSet(s, child, syntax);
            giveUp(node, child);
        }
        child = next;
    }
    return s;
}

void readTrendLines(const pugi::xml_node& node, std::vector<TrendLine>& out, NumberSyntax syntax) {
    for (const pugi::xml_node& child : node.children()) {
        if (!named(child, "line")) continue;
        TrendLine t;
        t.attrs = attributesOf(child, syntax);
        t.start = numberOr(t.attrs, "startvalue");
        if (isMissing(t.start)) t.start = numberOr(t.attrs, "value");
        t.end = numberOr(t.attrs, "endvalue");
        if (isMissing(t.end)) t.end = t.start;
        t.zone = t.attrs.flag("istrendzone", t.end != t.start);
        if (!isMissing(t.start)) out.push_back(std::move(t));
    }
}

void readStyles(const pugi::xml_node& node, ChartModel& model, NumberSyntax syntax) {
    for (const pugi::xml_node& part : node.children()) {
        if (named(part, "definition")) {
            for (const pugi::xml_node& style : part.children()) {
                if (!named(style, "style")) continue;
                StyleDefinition def;
                def.attrs = attributesOf(style, syntax);
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

// A separator the document names, or the fallback for an absent or empty one.
char32_t separatorOf(const Attributes& chart, std::string_view name, char32_t fallback) {
    const std::string* v = chart.find(name);
    if (!v || v->empty()) return fallback;
    const char32_t c = firstCodePoint(*v);
    return c != 0 ? c : fallback;
}

// The separators the document's numbers are read with (inDecimalSeparator and
// inThousandSeparator over the caller's), set on the chart's own attributes; the display
// separators (decimalSeparator, thousandSeparator) are filled in from the caller's where the
// document names none, so the families read them from the chart element alone.
NumberSyntax resolveNumbers(Attributes& chart, const DocumentNumbers& numbers) {
    NumberSyntax in;
    in.decimal = separatorOf(chart, "indecimalseparator", numbers.input.decimal);
    in.thousands = separatorOf(chart, "inthousandseparator", numbers.input.thousands);
    if (in.thousands == in.decimal) in.thousands = 0;
    chart.setNumberSyntax(in);
    const char32_t decimal = separatorOf(chart, "decimalseparator", numbers.display.decimal);
    const char32_t thousands = separatorOf(chart, "thousandseparator", numbers.display.thousands);
    chart.set("decimalseparator", utf8Of(decimal));
    chart.set("thousandseparator", utf8Of(thousands != decimal ? thousands : 0));
    return in;
}

// Entities and attribute white space as XML has them; comments, processing instructions, CDATA
// and the declaration are skipped, as the chart vocabulary lives in elements and attributes.
constexpr unsigned parseFlags = pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_eol;

// The categories and the vertical lines between them; each category is given up once read.
void readCategories(pugi::xml_node node, ChartModel& model, NumberSyntax syntax) {
    model.categoriesAttrs = attributesOf(node, syntax);
    std::size_t count = 0;
    for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
        count += named(c, "category") ? 1 : 0;
    model.categories.reserve(model.categories.size() + count);
    for (pugi::xml_node c = node.first_child(); c;) {
        const pugi::xml_node next = c.next_sibling();
        if (named(c, "category")) {
            Category cat;
            cat.attrs = attributesOf(c, syntax);
            cat.label = cat.attrs.text("label", cat.attrs.text("name"));
            model.categories.push_back(std::move(cat));
            giveUp(node, c);
        } else if (named(c, "vline")) {
            std::size_t n = model.categories.size();
            model.vlines.push_back({n == 0 ? 0 : n - 1, attributesOf(c, syntax)});
        }
        c = next;
    }
}

// A dataset: one series, or with datasets inside it, one stack of series.
void readDataset(pugi::xml_node node, ChartModel& model, NumberSyntax syntax) {
    bool nested = false;
    for (const pugi::xml_node& c : node.children())
        nested = nested || named(c, "dataset");
    if (!nested) {
        model.datasets.push_back(seriesOf(node, -1, syntax));
        return;
    }
    int stack = model.stackCount++;
    for (const pugi::xml_node& c : node.children()) {
        if (named(c, "dataset")) model.datasets.push_back(seriesOf(c, stack, syntax));
    }
}

// The elements under the chart, in document order. Sets directly under it are counted first, so
// that the single series and its categories take their room once rather than growing by
// doubling.
void readChildren(pugi::xml_node root, ChartModel& model, NumberSyntax syntax) {
    Series single;
    std::vector<Category> singleCategories;
    std::size_t rootSets = 0;
    for (const pugi::xml_node& node : root.children())
        rootSets += named(node, "set") ? 1 : 0;
    single.points.reserve(rootSets);
    singleCategories.reserve(rootSets);
    for (pugi::xml_node node = root.first_child(); node;) {
        const pugi::xml_node next = node.next_sibling();
        if (named(node, "set")) {
            addSet(single, node, syntax, &singleCategories);
            model.singleSeries = true;
            giveUp(root, node);
        } else if (named(node, "vline")) {
            std::size_t count = model.singleSeries ? single.points.size() : 0;
            model.vlines.push_back({count == 0 ? 0 : count - 1, attributesOf(node, syntax)});
        } else if (named(node, "categories")) {
            readCategories(node, model, syntax);
        } else if (named(node, "dataset")) {
            readDataset(node, model, syntax);
        } else if (named(node, "lineset")) {
            model.linesets.push_back(seriesOf(node, -1, syntax));
        } else if (named(node, "trendlines") || named(node, "htrendlines")) {
            readTrendLines(node, model.trendlines, syntax);
        } else if (named(node, "vtrendlines")) {
            readTrendLines(node, model.vtrendlines, syntax);
        } else if (named(node, "styles")) {
            readStyles(node, model, syntax);
        }
        node = next;
    }
    if (model.singleSeries && model.datasets.empty()) {
        // A single-series document: the sets' labels are the categories.
        model.categories = std::move(singleCategories);
        model.datasets.push_back(std::move(single));
    }
}

ParseResult readDocument(pugi::xml_document& doc, const pugi::xml_parse_result& parsed,
                         const DocumentNumbers& numbers) {
    ParseResult result;
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
    model.chart = attributesOf(root, NumberSyntax{});
    const NumberSyntax syntax = resolveNumbers(model.chart, numbers);
    readChildren(root, model, syntax);
    return result;
}

} // namespace

ParseResult parseChartXml(std::string_view xml, const DocumentNumbers& numbers) {
    pugi::xml_document doc;
    pugi::xml_parse_result parsed =
        doc.load_buffer(xml.data(), xml.size(), parseFlags, pugi::encoding_utf8);
    return readDocument(doc, parsed, numbers);
}

ParseResult parseChartXmlInPlace(std::string& xml, const DocumentNumbers& numbers) {
    pugi::xml_document doc;
    pugi::xml_parse_result parsed =
        doc.load_buffer_inplace(xml.data(), xml.size(), parseFlags, pugi::encoding_utf8);
    return readDocument(doc, parsed, numbers);
}

} // namespace plotara::player

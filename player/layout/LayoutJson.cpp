// The layout as JSON, written member by member in the order docs/player.md lists them.
#include "player/layout/ChartLayout.h"
#include "player/layout/JsonWriter.h"

namespace plotara::player {

namespace {

using Line = JsonWriter::Line;

void writeTick(JsonWriter& j, const LayoutTick& t) {
    j.object([&] {
        j.key("value").number(t.value);
        j.key("label").string(t.label);
        j.key("box").box(t.box);
    });
}

void writeAxis(JsonWriter& j, const LayoutAxis& a) {
    j.object([&] {
        j.key("id").string(a.id);
        j.key("min").number(a.min);
        j.key("max").number(a.max);
        j.key("log").boolean(a.log);
        j.key("ticks").list(a.ticks, Line::Same, [&](const LayoutTick& t) { writeTick(j, t); });
    });
}

void writeText(JsonWriter& j, const LayoutText& t) {
    j.object([&] {
        j.key("role").string(textKindName(t.tag.kind));
        j.key("text").string(t.text);
        if (!t.fullText.empty()) j.key("fullText").string(t.fullText);
        j.key("box").box(t.box);
        if (t.angle != 0) j.key("angle").number(t.angle);
        if (t.tag.series >= 0) j.key("series").number(t.tag.series);
        if (t.tag.index >= 0) j.key("index").number(t.tag.index);
    });
}

void writeSeries(JsonWriter& j, const LayoutSeries& s) {
    j.object([&] {
        j.key("name").string(s.name);
        j.key("axis").string(s.axis);
        j.key("renderAs").string(s.renderAs);
        j.key("points").count(s.points);
        j.key("drawn").count(s.drawn);
        if (s.stack >= 0) j.key("stack").number(s.stack);
        if (s.window) {
            std::size_t window[] = {s.window->first, s.window->second};
            j.key("window").list(window, Line::Same, [&](std::size_t n) { j.count(n); });
        }
    });
}

void writeLegendEntry(JsonWriter& j, const LayoutLegendEntry& e) {
    j.object([&] {
        j.key("name").string(e.name);
        std::string color(1, '#');
        color += hexOf(e.color);
        j.key("color").string(color);
        if (e.hidden) j.key("hidden").boolean(true);
    });
}

} // namespace

std::string layoutJson(const ChartLayout& l) {
    JsonWriter j;
    j.object([&] {
        j.key("width").number(l.width);
        j.key("height").number(l.height);
        j.key("plot", Line::Own);
        if (l.plot) {
            j.box(*l.plot);
        } else {
            j.null();
        }
        j.key("axes", Line::Own).list(l.axes, Line::Own, [&](const auto& a) { writeAxis(j, a); });
        j.key("texts", Line::Own).list(l.texts, Line::Own, [&](const auto& t) { writeText(j, t); });
        j.key("series", Line::Own).list(l.series, Line::Own, [&](const auto& s) {
            writeSeries(j, s);
        });
        j.key("legend", Line::Own).list(l.legend, Line::Own, [&](const auto& e) {
            writeLegendEntry(j, e);
        });
        j.key("notes", Line::Own).list(l.notes, Line::Own, [&](const std::string& n) {
            j.string(n);
        });
    });
    j.endLine();
    return j.text();
}

} // namespace plotara::player

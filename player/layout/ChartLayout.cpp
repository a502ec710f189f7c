#include "player/layout/ChartLayout.h"

#include <charconv>
#include <cmath>

namespace plotara::player {

const LayoutAxis* ChartLayout::axis(const std::string& id) const {
    for (const LayoutAxis& a : axes) {
        if (a.id == id) return &a;
    }
    return nullptr;
}

LayoutAxis& ChartLayout::axisFor(const std::string& id) {
    for (LayoutAxis& a : axes) {
        if (a.id == id) return a;
    }
    LayoutAxis added;
    added.id = id;
    axes.push_back(std::move(added));
    return axes.back();
}

const char* textKindName(TextKind kind) {
    switch (kind) {
    case TextKind::Caption:
        return "caption";
    case TextKind::SubCaption:
        return "subcaption";
    case TextKind::AxisName:
        return "axis-name";
    case TextKind::CategoryLabel:
        return "category-label";
    case TextKind::ValueLabel:
        return "value-label";
    case TextKind::Legend:
        return "legend";
    case TextKind::Tick:
        return "tick";
    case TextKind::Message:
        return "message";
    case TextKind::Trend:
        return "trend";
    case TextKind::PieLabel:
        return "pie-label";
    case TextKind::Other:
        break;
    }
    return "other";
}

namespace {

// Writes JSON values into one string; texts from the document are escaped, never trusted.
class JsonOut {
public:
    std::string out;

    void text(const std::string& s) {
        out += '"';
        for (unsigned char c : s) {
            switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    static const char hex[] = "0123456789abcdef";
                    out += "\\u00";
                    out += hex[c >> 4];
                    out += hex[c & 15];
                } else {
                    out += static_cast<char>(c);
                }
            }
        }
        out += '"';
    }
    // The shortest text that reads back as the same double; null for NaN and infinities.
    void number(double v) {
        if (!std::isfinite(v)) {
            out += "null";
            return;
        }
        if (v == 0) v = 0; // no "-0"
        char buf[32];
        auto res = std::to_chars(buf, buf + sizeof buf, v);
        out.append(buf, res.ptr);
    }
    // Screen coordinates to a hundredth of a pixel.
    void coord(double v) { number(std::round(v * 100) / 100); }
    void box(const Rect& r) {
        out += '[';
        coord(r.x);
        out += ',';
        coord(r.y);
        out += ',';
        coord(r.w);
        out += ',';
        coord(r.h);
        out += ']';
    }
    void key(const char* name) {
        text(name);
        out += ':';
    }
    void count(std::size_t n) { out += std::to_string(n); }
};

void writeAxes(JsonOut& j, const ChartLayout& l) {
    j.key("axes");
    j.out += '[';
    for (std::size_t i = 0; i < l.axes.size(); ++i) {
        const LayoutAxis& a = l.axes[i];
        if (i) j.out += ',';
        j.out += "\n  {";
        j.key("id");
        j.text(a.id);
        j.out += ',';
        j.key("min");
        j.number(a.min);
        j.out += ',';
        j.key("max");
        j.number(a.max);
        j.out += ',';
        j.key("log");
        j.out += a.log ? "true" : "false";
        j.out += ',';
        j.key("ticks");
        j.out += '[';
        for (std::size_t t = 0; t < a.ticks.size(); ++t) {
            if (t) j.out += ',';
            j.out += '{';
            j.key("value");
            j.number(a.ticks[t].value);
            j.out += ',';
            j.key("label");
            j.text(a.ticks[t].label);
            j.out += ',';
            j.key("box");
            j.box(a.ticks[t].box);
            j.out += '}';
        }
        j.out += "]}";
    }
    j.out += "]";
}

void writeTexts(JsonOut& j, const ChartLayout& l) {
    j.key("texts");
    j.out += '[';
    for (std::size_t i = 0; i < l.texts.size(); ++i) {
        const LayoutText& t = l.texts[i];
        if (i) j.out += ',';
        j.out += "\n  {";
        j.key("role");
        j.text(textKindName(t.tag.kind));
        j.out += ',';
        j.key("text");
        j.text(t.text);
        j.out += ',';
        j.key("box");
        j.box(t.box);
        if (t.angle != 0) {
            j.out += ',';
            j.key("angle");
            j.number(t.angle);
        }
        if (t.tag.series >= 0) {
            j.out += ',';
            j.key("series");
            j.number(t.tag.series);
        }
        if (t.tag.index >= 0) {
            j.out += ',';
            j.key("index");
            j.number(t.tag.index);
        }
        j.out += '}';
    }
    j.out += "]";
}

void writeSeries(JsonOut& j, const ChartLayout& l) {
    j.key("series");
    j.out += '[';
    for (std::size_t i = 0; i < l.series.size(); ++i) {
        const LayoutSeries& s = l.series[i];
        if (i) j.out += ',';
        j.out += "\n  {";
        j.key("name");
        j.text(s.name);
        j.out += ',';
        j.key("axis");
        j.text(s.axis);
        j.out += ',';
        j.key("renderAs");
        j.text(s.renderAs);
        j.out += ',';
        j.key("points");
        j.count(s.points);
        j.out += ',';
        j.key("drawn");
        j.count(s.drawn);
        if (s.window) {
            j.out += ',';
            j.key("window");
            j.out += '[';
            j.count(s.window->first);
            j.out += ',';
            j.count(s.window->second);
            j.out += ']';
        }
        j.out += '}';
    }
    j.out += "]";
}

void writeLegendAndNotes(JsonOut& j, const ChartLayout& l) {
    j.key("legend");
    j.out += '[';
    for (std::size_t i = 0; i < l.legend.size(); ++i) {
        if (i) j.out += ',';
        j.out += "\n  {";
        j.key("name");
        j.text(l.legend[i].name);
        j.out += ',';
        j.key("color");
        j.text("#" + hexOf(l.legend[i].color));
        j.out += '}';
    }
    j.out += "],\n";
    j.key("notes");
    j.out += '[';
    for (std::size_t i = 0; i < l.notes.size(); ++i) {
        if (i) j.out += ',';
        j.out += "\n  ";
        j.text(l.notes[i]);
    }
    j.out += "]";
}

} // namespace

std::string layoutJson(const ChartLayout& l) {
    JsonOut j;
    j.out += '{';
    j.key("width");
    j.number(l.width);
    j.out += ',';
    j.key("height");
    j.number(l.height);
    j.out += ",\n";
    j.key("plot");
    if (l.plot) {
        j.box(*l.plot);
    } else {
        j.out += "null";
    }
    j.out += ",\n";
    writeAxes(j, l);
    j.out += ",\n";
    writeTexts(j, l);
    j.out += ",\n";
    writeSeries(j, l);
    j.out += ",\n";
    writeLegendAndNotes(j, l);
    j.out += "}\n";
    return j.out;
}

} // namespace plotara::player

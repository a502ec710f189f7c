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
    // A member after the first of an object: ',"name":'.
    void next(const char* name) {
        out += ',';
        key(name);
    }
    // The member "name" as an array of one object per item, each on its own line:
    // '"name":[\n  {...},\n  {...}]'; writeMembers writes what is inside an item's braces.
    template <class Items, class WriteMembers>
    void objects(const char* name, const Items& items, const WriteMembers& writeMembers) {
        key(name);
        out += '[';
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (i) out += ',';
            out += "\n  {";
            writeMembers(items[i]);
            out += '}';
        }
        out += ']';
    }
};

void writeAxes(JsonOut& j, const ChartLayout& l) {
    j.objects("axes", l.axes, [&](const LayoutAxis& a) {
        j.key("id");
        j.text(a.id);
        j.next("min");
        j.number(a.min);
        j.next("max");
        j.number(a.max);
        j.next("log");
        j.out += a.log ? "true" : "false";
        j.next("ticks");
        j.out += '[';
        for (std::size_t t = 0; t < a.ticks.size(); ++t) {
            if (t) j.out += ',';
            j.out += '{';
            j.key("value");
            j.number(a.ticks[t].value);
            j.next("label");
            j.text(a.ticks[t].label);
            j.next("box");
            j.box(a.ticks[t].box);
            j.out += '}';
        }
        j.out += ']';
    });
}

void writeTexts(JsonOut& j, const ChartLayout& l) {
    j.objects("texts", l.texts, [&](const LayoutText& t) {
        j.key("role");
        j.text(textKindName(t.tag.kind));
        j.next("text");
        j.text(t.text);
        j.next("box");
        j.box(t.box);
        if (t.angle != 0) {
            j.next("angle");
            j.number(t.angle);
        }
        if (t.tag.series >= 0) {
            j.next("series");
            j.number(t.tag.series);
        }
        if (t.tag.index >= 0) {
            j.next("index");
            j.number(t.tag.index);
        }
    });
}

void writeSeries(JsonOut& j, const ChartLayout& l) {
    j.objects("series", l.series, [&](const LayoutSeries& s) {
        j.key("name");
        j.text(s.name);
        j.next("axis");
        j.text(s.axis);
        j.next("renderAs");
        j.text(s.renderAs);
        j.next("points");
        j.count(s.points);
        j.next("drawn");
        j.count(s.drawn);
        if (s.window) {
            j.next("window");
            j.out += '[';
            j.count(s.window->first);
            j.out += ',';
            j.count(s.window->second);
            j.out += ']';
        }
    });
}

void writeLegendAndNotes(JsonOut& j, const ChartLayout& l) {
    j.objects("legend", l.legend, [&](const LayoutLegendEntry& entry) {
        j.key("name");
        j.text(entry.name);
        j.next("color");
        j.text("#" + hexOf(entry.color));
    });
    j.out += ",\n";
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
    j.next("height");
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

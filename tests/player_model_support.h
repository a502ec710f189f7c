// Drawing a document into a player and reading its layout model, for the layout tests.
#pragma once

#include "player/ChartPlayer.h"
#include "player/layout/ChartLayout.h"
#include "player_samples.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace plotara::testing {

// A player that drew the document as the chart type (1 to 37) at the size; the test fails when
// no chart shows.
inline std::unique_ptr<ChartPlayer> drawChart(int type, const std::string& xml, int width = 640,
                                              int height = 480, const std::string& extra = "") {
    auto player = std::make_unique<ChartPlayer>();
    player->put_Movie(fromUtf8(movieUrl(type, xml, width, height, extra)));
    EXPECT_EQ(player->state(), PlayerState::Chart) << toUtf8(player->messageText());
    return player;
}

// Loads the document into the player as the chart type at the size; the test fails when no chart
// shows.
inline void loadChart(ChartPlayer& player, int type, const std::string& xml, int width = 640,
                      int height = 480) {
    player.put_Movie(fromUtf8(movieUrl(type, xml, width, height)));
    ASSERT_EQ(player.state(), PlayerState::Chart) << toUtf8(player.messageText());
}

// "<chart ...><set value='v0'/>...</chart>" with the chart attributes given.
inline std::string singleSeries(const std::string& chartAttrs, const std::vector<double>& values,
                                const std::string& labelPrefix = "C") {
    std::string xml = "<chart " + chartAttrs + ">";
    int i = 0;
    for (double v : values) {
        char num[40];
        std::snprintf(num, sizeof num, "%.17g", v);
        xml += "<set label='" + labelPrefix + std::to_string(i++) + "' value='" + num + "'/>";
    }
    return xml + "</chart>";
}

// A data set of a multi-series document: its name, values (NaN: a set without a value) and any
// further attributes.
struct Dataset {
    std::string name;
    std::vector<double> values;
    std::string attrs = {};
};

// "<chart ...><categories>...</categories><dataset ...>...</dataset>...</chart>", with `more`
// (line sets, trend lines) after the data sets.
inline std::string multiSeries(const std::string& chartAttrs,
                               const std::vector<std::string>& labels,
                               const std::vector<Dataset>& datasets, const std::string& more = "") {
    std::string xml = "<chart " + chartAttrs + "><categories>";
    for (const std::string& label : labels)
        xml += "<category label='" + label + "'/>";
    xml += "</categories>";
    for (const Dataset& d : datasets) {
        xml += "<dataset seriesName='" + d.name + "' " + d.attrs + ">";
        for (double v : d.values) {
            char num[40];
            std::snprintf(num, sizeof num, "%.17g", v);
            xml += v == v ? std::string("<set value='") + num + "'/>" : "<set/>";
        }
        xml += "</dataset>";
    }
    return xml + more + "</chart>";
}

// The labels prefix0, prefix1, ... of n categories.
inline std::vector<std::string> numbered(const std::string& prefix, int n) {
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i)
        out.push_back(prefix + std::to_string(i));
    return out;
}

// A box as "[x,y,w,h]" to two decimals: boxes that differ only in rounding noise read alike.
inline std::string describe(const player::Rect& r) {
    char out[96];
    std::snprintf(out, sizeof out, "[%.2f,%.2f,%.2f,%.2f]", r.x, r.y, r.w, r.h);
    return out;
}

// Whether a note of the layout holds the words.
inline bool hasNote(const player::ChartLayout& l, const std::string& words) {
    for (const std::string& n : l.notes)
        if (n.find(words) != std::string::npos) return true;
    return false;
}

// One <text> element of an SVG document: its characters (references decoded), its x and y, its
// textLength (-1 when it has none) and whether it is turned.
struct SvgTextElement {
    std::string text;
    double x = 0, y = 0, length = -1;
    bool turned = false;
};

// The characters of XML text with the references the SVG writer uses decoded.
inline std::string decodeXmlText(const std::string& xml) {
    std::string out;
    for (std::size_t i = 0; i < xml.size(); ++i) {
        const std::size_t end = xml[i] == '&' ? xml.find(';', i) : std::string::npos;
        if (end == std::string::npos) {
            out += xml[i];
            continue;
        }
        const std::string name = xml.substr(i + 1, end - i - 1);
        const char* named[][2] = {
            {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"}};
        bool found = false;
        for (const auto& [ref, c] : named)
            if (name == ref) out += c, found = true;
        if (!found && name.size() > 1 && name[0] == '#') // the writer refers to ASCII only
            out += static_cast<char>(std::strtol(name.c_str() + 1, nullptr, 10));
        i = end;
    }
    return out;
}

// The <text> elements of an SVG document written with texts as text, in document order.
inline std::vector<SvgTextElement> svgTextElements(const std::string& svg) {
    std::vector<SvgTextElement> out;
    auto attribute = [](const std::string& tag, const char* name) {
        const std::size_t at = tag.find(std::string(" ") + name + "=\"");
        return at == std::string::npos ? std::string()
                                       : tag.substr(at + std::strlen(name) + 3,
                                                    tag.find('"', at + std::strlen(name) + 3) -
                                                        (at + std::strlen(name) + 3));
    };
    for (std::size_t at = svg.find("<text "); at != std::string::npos;
         at = svg.find("<text ", at + 1)) {
        const std::size_t open = svg.find('>', at), close = svg.find("</text>", at);
        if (open == std::string::npos || close == std::string::npos) break;
        const std::string tag = svg.substr(at, open - at);
        SvgTextElement e;
        e.text = decodeXmlText(svg.substr(open + 1, close - open - 1));
        e.x = std::atof(attribute(tag, "x").c_str());
        e.y = std::atof(attribute(tag, "y").c_str());
        const std::string length = attribute(tag, "textLength");
        if (!length.empty()) e.length = std::atof(length.c_str());
        e.turned = !attribute(tag, "transform").empty();
        out.push_back(std::move(e));
    }
    return out;
}

// What the SVG draws is what the layout dump says: one <text> for each of the layout's texts, in
// order, with the characters the dump gives as drawn, and an upright text's left end, measured
// length and baseline (in the lower half of the box) those of its box. A text shortened, moved or
// added at drawing time fails here.
inline void expectSvgTextsMatchLayout(const std::string& svg, const player::ChartLayout& layout,
                                      const std::string& what) {
    const std::vector<SvgTextElement> drawn = svgTextElements(svg);
    const std::vector<player::LayoutText>& listed = layout.texts;
    ASSERT_EQ(drawn.size(), listed.size()) << what << ": <text> elements and the dump's texts";
    for (std::size_t i = 0; i < listed.size(); ++i) {
        SCOPED_TRACE(what + ": text " + std::to_string(i) + " '" + listed[i].text + "'");
        EXPECT_EQ(drawn[i].text, listed[i].text);
        EXPECT_EQ(drawn[i].turned, listed[i].angle != 0);
        if (drawn[i].turned) continue;
        EXPECT_NEAR(drawn[i].x, listed[i].box.x, 0.006);
        EXPECT_GT(drawn[i].y, listed[i].box.y + listed[i].box.h / 2);
        EXPECT_LT(drawn[i].y, listed[i].box.bottom());
        if (drawn[i].length >= 0) {
            EXPECT_NEAR(drawn[i].length, listed[i].box.w, 0.006);
        }
    }
}

} // namespace plotara::testing

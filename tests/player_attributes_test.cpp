// Every family of chart attributes changes the picture: for each, one attribute is set on a
// sample and the scene or its layout must show it. An attribute that silently does nothing
// (as paletteColors did when its list was read from a string already gone) fails here.
#include "player/layout/ChartLayout.h"
#include "player_model_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <variant>

namespace plotara {
namespace {

using namespace player;

bool hasFill(const Scene& s, std::uint32_t color) {
    bool found = false;
    s.forEachShape([&](const ShapeItem& shape) {
        if (shape.filled && shape.fill == rgb(color)) found = true;
    });
    return found;
}

const TextItem* firstText(const Scene& s, TextKind kind) {
    for (const TextItem* t : s.texts()) {
        if (t->tag.kind == kind) return t;
    }
    return nullptr;
}

std::size_t countTexts(const Scene& s, TextKind kind) {
    std::size_t n = 0;
    for (const TextItem* t : s.texts())
        n += t->tag.kind == kind;
    return n;
}

// The document with extra attributes on its chart element.
std::string withAttributes(std::string xml, const std::string& attrs) {
    return xml.insert(xml.find("<chart") + 6, " " + attrs + " ");
}

TEST(ChartAttributes, EveryFamilyChangesThePicture) {
    using Check = std::function<bool(const Scene& base, const Scene& changed)>;
    const std::string plain =
        testing::singleSeries("caption='Sales'", {235000, 125100, 464200, 434500});
    struct Case {
        const char* family;
        int type;
        std::string xml;
        std::string attrs;
        Check check;
    } cases[] = {
        {"series colours", 11, testing::multiSeriesSample(false), "paletteColors='FF0000,00AA00'",
         [](const Scene&, const Scene& s) {
             return hasFill(s, 0xFF0000) && hasFill(s, 0x00AA00) && s.layout.legend.size() == 2 &&
                    s.layout.legend[0].color == rgb(0xFF0000) &&
                    s.layout.legend[1].color == rgb(0x00AA00);
         }},
        {"single-series colours", 4, testing::singleSeriesSample, "paletteColors='123456'",
         [](const Scene&, const Scene& s) { return hasFill(s, 0x123456); }},
        {"palette", 11, testing::multiSeriesSample(false), "palette='3'",
         [](const Scene& b, const Scene& s) {
             return !(b.layout.legend[0].color == s.layout.legend[0].color);
         }},
        {"background", 2, testing::singleSeriesSample, "bgColor='112233'",
         [](const Scene&, const Scene& s) { return s.background == rgb(0x112233); }},
        {"canvas", 2, testing::singleSeriesSample, "canvasBgColor='445566'",
         [](const Scene&, const Scene& s) { return hasFill(s, 0x445566); }},
        {"font size", 2, testing::singleSeriesSample, "baseFontSize='16'",
         [](const Scene& b, const Scene& s) {
             return firstText(s, TextKind::Caption)->box.h >
                    firstText(b, TextKind::Caption)->box.h + 3;
         }},
        {"font colour", 2, testing::singleSeriesSample, "baseFontColor='AA0000'",
         [](const Scene&, const Scene& s) {
             return firstText(s, TextKind::Tick)->font.color == rgb(0xAA0000);
         }},
        {"number prefix", 2, plain, "numberPrefix='EUR '",
         [](const Scene&, const Scene& s) {
             return firstText(s, TextKind::Tick)->text.starts_with("EUR ");
         }},
        {"number scale", 2, testing::singleSeriesSample, "formatNumberScale='1'",
         [](const Scene&, const Scene& s) {
             return firstText(s, TextKind::ValueLabel)->text.ends_with("K");
         }},
        {"axis limits", 2, testing::singleSeriesSample, "yAxisMaxValue='900000'",
         [](const Scene&, const Scene& s) { return s.layout.axis("y")->max == 900000; }},
        {"div lines", 2, testing::singleSeriesSample, "numDivLines='9'",
         [](const Scene&, const Scene& s) { return s.layout.axis("y")->ticks.size() == 11; }},
        {"value visibility", 2, testing::singleSeriesSample, "showValues='0'",
         [](const Scene& b, const Scene& s) {
             return countTexts(b, TextKind::ValueLabel) == 4 &&
                    countTexts(s, TextKind::ValueLabel) == 0;
         }},
        {"legend visibility", 11, testing::multiSeriesSample(false), "showLegend='0'",
         [](const Scene&, const Scene& s) { return s.layout.legend.empty(); }},
        {"margins", 2, testing::singleSeriesSample, "chartLeftMargin='90'",
         [](const Scene& b, const Scene& s) { return s.layout.plot->x > b.layout.plot->x + 60; }},
        {"anchors", 7, testing::singleSeriesSample, "anchorRadius='8'",
         [](const Scene&, const Scene& s) {
             for (const SceneItem& item : s.items) {
                 if (const auto* m = std::get_if<MarkerItem>(&item)) return m->radius == 8;
             }
             return false;
         }},
        {"titles", 2, plain, "subCaption='Another line'",
         [](const Scene&, const Scene& s) {
             return firstText(s, TextKind::SubCaption)->text == "Another line";
         }},
    };
    for (const Case& c : cases) {
        auto base = testing::drawChart(c.type, c.xml);
        auto changed = testing::drawChart(c.type, withAttributes(c.xml, c.attrs));
        EXPECT_TRUE(c.check(base->scene(), changed->scene())) << c.family << ": " << c.attrs;
    }
}

} // namespace
} // namespace plotara

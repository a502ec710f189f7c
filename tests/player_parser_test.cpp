// The player's lookups that must stay fast on hostile documents keep their meaning: attributes
// of large elements (past the index threshold) behave as those of small ones, and the shortened
// order of font styles gives the font that applying every application in turn gives.
#include "player/layout/StyleOrder.h"
#include "player/model/Attributes.h"
#include "player/util/Utf8.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace plotara::player {
namespace {

TEST(PlayerBounds, LargeElementsFindReplaceAndCopyTheirAttributes) {
    for (const int n : {3, 16, 17, 40, 5000}) {
        SCOPED_TRACE(n);
        Attributes attributes;
        for (int i = 0; i < n; ++i)
            attributes.set("Name" + std::to_string(i), std::to_string(i));
        attributes.set("NAME1", "replaced");
        attributes.set("name" + std::to_string(n - 1), "last");
        Attributes copy = attributes;
        Attributes assigned;
        assigned = copy;
        copy.set("added", "x");
        for (const Attributes* a : {&attributes, &assigned}) {
            ASSERT_EQ(a->size(), static_cast<std::size_t>(n));
            EXPECT_EQ(a->text("name0"), "0");
            EXPECT_EQ(a->text("name1"), n > 1 ? "replaced" : "1");
            EXPECT_EQ(a->text("name" + std::to_string(n - 1)), "last");
            EXPECT_EQ(a->find("Name0"), nullptr); // lookups take lower-case names
            EXPECT_EQ(a->find("added"), nullptr);
            EXPECT_EQ(a->items()[1].first, "name1"); // document order kept
        }
        EXPECT_EQ(copy.text("added"), "x");
        Attributes moved = std::move(copy);
        EXPECT_EQ(moved.text("name1"), n > 1 ? "replaced" : "1");
    }
}

TEST(PlayerBounds, ElementsWithoutAttributesFindNothingAndCopyAsEmpty) {
    Attributes none;
    EXPECT_EQ(none.size(), 0u);
    EXPECT_TRUE(none.items().empty());
    EXPECT_EQ(none.find("label"), nullptr);
    EXPECT_EQ(none.text("label", "fallback"), "fallback");
    EXPECT_FALSE(none.optionalNumber("value"));
    EXPECT_TRUE(none.flag("showvalue", true));
    Attributes some;
    some.set("Label", "A");
    Attributes assigned = some;
    assigned = none; // an empty element over one with attributes leaves none behind
    EXPECT_EQ(assigned.size(), 0u);
    EXPECT_EQ(assigned.find("label"), nullptr);
    Attributes copied = none;
    copied.set("value", "1,5");
    EXPECT_EQ(copied.text("value"), "1,5");
    EXPECT_EQ(none.size(), 0u) << "the copy has attributes of its own";
    // The number syntax set before the first attribute reads that attribute.
    Attributes comma;
    comma.setNumberSyntax({U',', U'.'});
    comma.set("value", "1.234,5");
    EXPECT_EQ(comma.optionalNumber("value"), 1234.5);
    EXPECT_EQ(some.text("label"), "A");
}

// The separators an element reads its numbers with are kept while it has no attribute and
// after, whatever they are, and an assignment or a copy keeps the target's own.
TEST(PlayerBounds, ElementsKeepTheirNumberSyntaxWithAndWithoutAttributes) {
    const NumberSyntax syntaxes[] = {{},
                                     {U',', U'.'},
                                     {U',', 0},
                                     {U'\u066B', U'\u066C'},
                                     {U'.', U'\u202F'},
                                     {0x10FFFF, 0x10FFFF},
                                     {0x200000, U','},
                                     {U'.', 0xFFFFFFFF}};
    for (const NumberSyntax& syntax : syntaxes) {
        SCOPED_TRACE(static_cast<unsigned long>(syntax.decimal));
        Attributes a;
        a.setNumberSyntax(syntax);
        EXPECT_EQ(a.numberSyntax(), syntax);
        EXPECT_EQ(a.size(), 0u);
        a.set("x", "1");
        EXPECT_EQ(a.numberSyntax(), syntax);
        Attributes empty;
        empty.setNumberSyntax(syntax);
        Attributes target;
        target.setNumberSyntax({U',', U'.'});
        target = empty;
        EXPECT_EQ(target.numberSyntax(), (NumberSyntax{U',', U'.'}));
        target.set("y", "2");
        const Attributes none;
        target = none;
        EXPECT_EQ(target.size(), 0u);
        EXPECT_EQ(target.numberSyntax(), (NumberSyntax{U',', U'.'}));
        const Attributes copied = a;
        EXPECT_EQ(copied.numberSyntax(), NumberSyntax{}) << "a copy reads with its own syntax";
        EXPECT_EQ(copied.text("x"), "1");
        Attributes moved = std::move(a);
        EXPECT_EQ(moved.numberSyntax(), syntax);
        EXPECT_EQ(moved.text("x"), "1");
    }
}

// Each style sets "size" or "color" or both; the font is the last value set of each.
std::map<std::string, std::string> fold(const std::vector<const StyleDefinition*>& order) {
    std::map<std::string, std::string> font;
    for (const StyleDefinition* def : order)
        for (const auto& [name, value] : def->attrs.items())
            if (name != "name" && name != "type") font[name] = value;
    return font;
}

TEST(PlayerBounds, TheShortenedStyleOrderGivesTheSameFontAsEveryApplication) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        ChartModel model;
        const int names = 1 + static_cast<int>(random() % 5);
        for (int i = 0; i < 1 + static_cast<int>(random() % 8); ++i) {
            StyleDefinition def;
            def.name = "s" + std::to_string(random() % names);
            def.type = random() % 5 ? "font" : "animation";
            if (random() % 2) def.attrs.set("size", std::to_string(i));
            if (random() % 2) def.attrs.set("color", "c" + std::to_string(i));
            model.styles.push_back(std::move(def));
        }
        for (int i = 0; i < static_cast<int>(random() % 10); ++i)
            model.applications.emplace_back(random() % 3 ? "caption" : "legend",
                                            "s" + std::to_string(random() % (names + 1)));
        std::vector<const StyleDefinition*> every;
        for (const auto& [object, name] : model.applications)
            if (object == "caption")
                for (const StyleDefinition& def : model.styles)
                    if (def.name == name && def.type == "font") every.push_back(&def);
        const auto shortened = fontStylesFor(model, "caption");
        EXPECT_EQ(fold(shortened), fold(every)) << round;
        EXPECT_LE(shortened.size(), model.styles.size());
    }
}

TEST(PlayerBounds, MalformedUtf8BecomesReplacementCharacters) {
    const std::string bad = "\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"caf\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE4\xB8\xAD \xF0\x9F\x98\x80"},
        {"a\xFF"
         "b",
         "a" + bad + "b"},
        {"\x80\x80", bad},
        {"\xC3", bad},
        {"\xE4\xB8"
         "x",
         bad + "x"},
        {"\xC0\xAF", bad},         // overlong "/"
        {"\xED\xA0\x80", bad},     // a surrogate
        {"\xF4\x90\x80\x80", bad}, // beyond U+10FFFF
        {"\xC3\xA9\xFF\xC3\xA9", "\xC3\xA9" + bad + "\xC3\xA9"},
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(validUtf8(input), expected) << input;
    // ASCII is read eight bytes at a time: a bad byte or a valid sequence at every place
    // around those blocks is still seen, in texts of every length up to three blocks.
    for (std::size_t length = 1; length <= 24; ++length) {
        for (std::size_t at = 0; at < length; ++at) {
            std::string text(length, 'a');
            text[at] = '\xFF';
            std::string expected = text.substr(0, at) + bad + text.substr(at + 1);
            EXPECT_EQ(validUtf8(text), expected) << length << " " << at;
            const std::string valid = text.substr(0, at) + "\xC3\xA9" + text.substr(at + 1);
            EXPECT_EQ(validUtf8(valid), valid) << length << " " << at;
        }
    }
}

} // namespace
} // namespace plotara::player

// A generated document, URL-decoded once as the chart movie decodes it, is XML that a real parser
// reads, and labels with the characters that need escaping come through unchanged.
#include "core/String.h"
#include "data_test_support.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>

namespace plotara {
namespace {

using test::chart;

// Query-string decoding: "+" is a blank, "%XX" a byte.
std::string urlDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() + 0 &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                   std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

TEST(WellFormed, DecodedDocumentsParseAndLabelsSurvive) {
    const String awkward = L"R&D's <best> 50% a+b \u00e9";
    auto single = chart(1);
    single->setChartParams(L"caption=" + awkward);
    single->addCategory(awkward, L"toolText=" + awkward);
    single->addChartData(L"1");

    auto multi = chart(11);
    multi->addCategory(awkward);
    multi->addDataset(awkward, L"toolText=" + awkward);
    multi->addChartData(L"1", L"toolText=" + awkward);
    multi->addTrendLine(L"displayValue=" + awkward);
    multi->defineStyle(L"S", L"font", L"font=" + awkward);
    multi->applyStyle(L"CAPTION", L"S");

    for (PlotaraData* data : {single.get(), multi.get()}) {
        const std::string decoded = urlDecode(toUtf8(data->getXML()));
        pugi::xml_document document;
        const pugi::xml_parse_result parsed = document.load_string(decoded.c_str());
        ASSERT_TRUE(parsed) << parsed.description() << "\n" << decoded;
        const std::string expected = toUtf8(awkward);
        int checked = 0;
        for (const pugi::xpath_node& node :
             document.select_nodes("//@label | //@seriesName | //@toolText | //@caption | "
                                   "//@displayValue | //@font")) {
            EXPECT_EQ(node.attribute().value(), expected) << node.attribute().name();
            ++checked;
        }
        EXPECT_GE(checked, 3);
    }
}

} // namespace
} // namespace plotara

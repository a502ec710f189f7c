// Movie URLs, whole and exact: RenderChart, the data-source writers, the design-time sample URL
// and the chart messages; and the renderedFrom transitions.
#include "control/MovieUrlText.h"
#include "control_test_support.h"
#include "core/Text.h"
#include "data/detail/ArrayClassTestAccess.h"

#include <random>

namespace plotara {
namespace {

using test::ControlRig;
using test::errorOf;
using test::TempFile;
using test::timer;

const String missingGroup = L"&LoadDataErrorText=XML file not found";
const String size = L"&chartWidth=320&chartHeight=240";
const String debugOff = L"&registerWithJS=1&debugMode=0";

TEST(ControlRender, ExistingDataFileInRenderChartAndInTheWriter) {
    ControlRig rig;
    TempFile file("render_existing.xml");
    rig->put_ChartPath(LR"(C:\Charts)");
    rig->put_ChartType(enumChartNames::mscolumn2d);
    rig->put_setDataURL(file.path());
    EXPECT_EQ(rig.lastMovie(), LR"(file:///C:\Charts\PTM11.swf?nocache=)" + timer + size +
                                   debugOff + L"&dataURL=file:///" + file.path());
    rig->RenderChart();
    EXPECT_EQ(rig.lastMovie(), LR"(file:///C:\Charts\PTM11.swf?nocache=)" + timer + size +
                                   debugOff + L"&dataURL=" + file.path());
    EXPECT_EQ(rig.host->movies().size(), 2u);
    TempFile readable("exists.xml");
    EXPECT_TRUE(movieurl::FileExists(readable.path()));
    EXPECT_TRUE(movieurl::FileExists(readable.path() + L"\\"));
    EXPECT_FALSE(movieurl::FileExists(readable.path() + L"\\\\"));
    EXPECT_FALSE(movieurl::FileExists(fromUtf8(std::filesystem::temp_directory_path().string())));
    EXPECT_FALSE(movieurl::FileExists(L"/nonexistent/plotara.xml"));
    EXPECT_FALSE(movieurl::FileExists(L""));
}

TEST(ControlRender, DriveRootLosesItsSeparatorOnlyInRenderChart) {
    ControlRig rig(false);
    rig->put_ChartPath(LR"(C:\)");
    rig->RenderChart();
    EXPECT_EQ(rig.lastMovie(),
              LR"(file:///C:\PTM01.swf?nocache=)" + timer + size + debugOff + L"&dataXML=");
    rig->put_setDataURL(L"http://example.com/d.xml");
    EXPECT_EQ(rig.lastMovie(), LR"(file:///C:\\PTM01.swf?nocache=)" + timer + size + debugOff +
                                   L"&dataURL=http://example.com/d.xml");
    EXPECT_EQ(rig->BuildSampleMovieURL().substr(0, 15), LR"(C:\\PTM01.swf?n)");
}

TEST(ControlRender, WebAddressesAreCaseSensitive) {
    ControlRig rig;
    rig->put_ChartPath(LR"(C:\Charts)");
    rig->put_setDataURL(L"https://example.com/data.xml");
    EXPECT_EQ(rig.lastMovie(), LR"(file:///C:\Charts\PTM01.swf?nocache=)" + timer + size +
                                   debugOff + L"&dataURL=https://example.com/data.xml");
    rig->put_setDataURL(L"HTTP://EXAMPLE.COM/DATA.XML");
    EXPECT_EQ(rig.lastMovie(),
              L"file:///C:/Charts/PTM01.swf?nocache=" + timer + size + missingGroup + debugOff);
    EXPECT_EQ(rig->chartMessages(), missingGroup);
}

TEST(ControlRender, EveryMissOfTheDataFileAddsAnotherMessageGroup) {
    ControlRig rig;
    rig->put_ChartPath(LR"(C:\Charts)");
    rig->put_setDataURL(L"/nonexistent/plotara.xml");
    EXPECT_EQ(rig.lastMovie(),
              L"file:///C:/Charts/PTM01.swf?nocache=" + timer + size + missingGroup + debugOff);
    rig->RenderChart();
    const String base = LR"(file:///C:\Charts\PTM01.swf?nocache=)" + timer + size;
    EXPECT_EQ(rig.lastMovie(), base + missingGroup + debugOff + missingGroup + missingGroup +
                                   L"&dataURL=/nonexistent/plotara.xml");
    rig->RenderChart();
    EXPECT_EQ(rig.lastMovie(), base + missingGroup + missingGroup + debugOff + missingGroup +
                                   missingGroup + missingGroup +
                                   L"&dataURL=/nonexistent/plotara.xml");
    EXPECT_EQ(rig.host->movies().size(), 3u); // a miss loads its movie once and stops
}

TEST(ControlRender, ThePreparedChartIsKeptWhicheverWayTheDataGoes) {
    ControlRig rig;
    auto data = rig->get_Data();
    data->setChartTypeNumber(L"1");
    data->addChartData(L"5", L"toolText=a\tb");
    const String document = data->getXML();
    ASSERT_NE(document.find(L"\r\n"), String::npos);
    const String pairsRemoved = text::replace(document, L"\r\n", L"");

    // A data file that cannot be found: the URL names the file, the chart is prepared anyway.
    data->put_isDataAdded(false);
    rig->put_setDataURL(L"/nonexistent/plotara.xml");
    rig->RenderChart();
    EXPECT_EQ(rig->renderXML(), pairsRemoved);
    EXPECT_EQ(rig.lastMovie().find(L"dataXML"), String::npos);

    // Data added in code: the chart goes into the URL without tabs, and is read back from there.
    data->put_isDataAdded(true);
    rig->RenderChart();
    const String everything = text::replace(pairsRemoved, L"\t", L"");
    EXPECT_EQ(rig->renderXML(), everything);
    EXPECT_TRUE(rig.lastMovie().ends_with(L"&dataXML=" + everything));
    rig->RenderChart(); // the flag was cleared: the file again, the chart still prepared
    EXPECT_EQ(rig->renderXML(), pairsRemoved);
}

TEST(ControlRender, ThePackedDocumentIsTheHandedTextAndReadsBackExactly) {
    // Whatever the URL leaves out of the document (CR LF pairs always; tabs and lone CRs when
    // the data was added in code), the data object keeps its document whole as the UTF-8 text
    // the host was handed and reads it back as it was; the URL leaves out what it always did.
    const String labels[] = {L"plain",          L"tab\there", L"lone\rcr",
                             L"pair\r\ninside", L"lf\nalone", L"Caf\u00e9 \u65e5\U0001F600"};
    for (const bool added : {true, false}) {
        for (const String& label : labels) {
            SCOPED_TRACE(toUtf8(label) + (added ? " added" : " ready"));
            ControlRig rig;
            auto data = rig->get_Data();
            data->setChartTypeNumber(L"1");
            for (int i = 0; i < 20; ++i)
                data->addChartData(text::decimal(i), L"label=" + label);
            const String document = data->getXML();
            data->put_isDataAdded(added);
            rig->RenderChart();
            const String movie = rig.lastMovie();
            ASSERT_TRUE(ArrayClassTestAccess::documentPacked(data->engine()));
            const auto kept = ArrayClassTestAccess::packedText(data->engine());
            ASSERT_NE(kept, nullptr);
            EXPECT_EQ(*kept, toUtf8(document)); // whole: the URL's form is applied on reading
            String inUrl = movieurl::StripLineBreaks(document);
            if (added) movieurl::stripLineBreaksTabsAndCarriageReturns(inUrl);
            EXPECT_TRUE(movie.ends_with(L"&dataXML=" + inUrl));
            EXPECT_EQ(rig->renderXML(), inUrl);
            EXPECT_EQ(data->getXML(), document);
            EXPECT_EQ(ArrayClassTestAccess::packedText(data->engine()), nullptr);
            if (!added) continue;
            data->put_isDataAdded(true); // packed again: the same URL
            rig->RenderChart();
            EXPECT_EQ(rig.lastMovie(), movie);
        }
    }
}

// A host that reads the URL in parts: it keeps what it was handed and passes everything on to a
// headless host, which records the whole URL as a host that reads only put_Movie does.
class PartsHost : public MovieHost {
public:
    HeadlessMovieHost inner;
    std::vector<MovieUrlParts> parts;
    void put_MovieParts(MovieUrlParts given) override {
        parts.push_back(given);
        inner.put_MovieParts(std::move(given));
    }
    void applySettings(const MovieHostSettings& s) override { inner.applySettings(s); }
    void put_Movie(const String& url) override { inner.put_Movie(url); }
    String get_Movie() const override { return inner.get_Movie(); }
    void put_BGColor(const String& color) override { inner.put_BGColor(color); }
    void put_Menu(bool show) override { inner.put_Menu(show); }
    Single get_Width() const override { return inner.get_Width(); }
    void put_Width(Single w) override { inner.put_Width(w); }
    Single get_Height() const override { return inner.get_Height(); }
    void put_Height(Single h) override { inner.put_Height(h); }
    String CallFunction(const String& request) override { return inner.CallFunction(request); }
    void onFlashCall(std::function<void(const String&)> handler) override {
        inner.onFlashCall(std::move(handler));
    }
};

TEST(ControlRender, TheDocumentGoesBesideTheHeadSharedNotCopied) {
    // Each route of the document: a ready text rendered at once (its tabs and lone CRs go), the
    // same text rendered again without a flag (only CR LF pairs go), data added in code. The
    // host handed the parts sees the URL a put_Movie host gets, byte for byte, and the document
    // it keeps is the control's own text or the one the data object shares.
    const std::string documents[] = {
        "<chart caption='50%25 R&amp;D &dataXML=x'>\r\n\t<set value='1'/>\r<set value='2'/>"
        "\n</chart>\r\n",
        "<chart caption='Caf\xc3\xa9 \xe6\x97\xa5 \xf0\x9f\x98\x80'><set value='1'/></chart>",
        "",
    };
    for (const std::string& document : documents) {
        SCOPED_TRACE(document);
        ControlRig plain;
        test::HostRig<PartsHost> partsRig;
        PartsHost* parts = partsRig.host;
        Plotara* rig = partsRig.control.get();
        auto text = std::make_shared<const std::string>(document);
        rig->put_setDataXMLText(text);
        plain->put_setDataXMLText(text);
        rig->RenderChart();
        plain->RenderChart();
        ASSERT_EQ(parts->parts.size(), 2u);
        if (!document.empty()) {
            for (const MovieUrlParts& handed : parts->parts)
                EXPECT_EQ(handed.document.get(), text.get());
        }
        EXPECT_EQ(parts->inner.movies(), plain.host->movies());

        for (Plotara* each : {rig, &*plain}) {
            auto data = each->get_Data();
            data->setChartTypeNumber(L"1");
            data->addChartData(L"5", L"label=" + fromUtf8(document));
            data->put_isDataAdded(true);
            each->RenderChart();
        }
        EXPECT_EQ(parts->inner.movies().back(), plain.lastMovie());
        ASSERT_FALSE(parts->parts.empty());
        EXPECT_EQ(ArrayClassTestAccess::packedText(rig->get_Data()->engine()).get(),
                  parts->parts.back().document.get());
        EXPECT_EQ(fromUtf8(parts->parts.back().text()), plain.lastMovie());
    }
}

TEST(ControlRender, GridChartCarriesItsParametersAfterTheTimer) {
    ControlRig rig;
    rig->put_ChartPath(LR"(C:\Charts)");
    rig->put_ChartType(enumChartNames::grid);
    rig->get_Data()->setGridParams(L"a=1;b=2");
    rig->RenderChart();
    EXPECT_EQ(rig.lastMovie(), LR"(file:///C:\Charts\PTM37.swf?nocache=)" + timer + L"&a=1&b=2" +
                                   size + debugOff + L"&dataXML=<chart></chart>");
    rig->put_ChartType(enumChartNames::column2d);
    rig->RenderChart();
    EXPECT_EQ(rig.lastMovie().find(L"a=1"), String::npos);
}

TEST(ControlRender, LineBreaksTabsAndCarriageReturns) {
    ControlRig rig;
    const String xml = L"<chart a='1'>\r\n\t<set value='1' />\r<set value='2' />\n</chart>";
    const String prefix = LR"(file:///\PTM01.swf?nocache=)" + timer + size + debugOff;
    rig->put_setDataXML(xml); // run mode: renders the ready text at once
    EXPECT_EQ(rig.lastMovie(),
              prefix + L"&dataXML=<chart a='1'><set value='1' /><set value='2' />\n</chart>");
    // The data object still returns the ready text; without a flag set, the last branch keeps
    // tabs and lone carriage returns.
    rig->RenderChart();
    EXPECT_EQ(rig.lastMovie(),
              prefix + L"&dataXML=<chart a='1'>\t<set value='1' />\r<set value='2' />\n</chart>");
    EXPECT_EQ(rig->renderXML(), L"<chart a='1'>\t<set value='1' />\r<set value='2' />\n</chart>");
}

TEST(ControlRender, LineBreakRemovalAgreesWithTheStepwiseRulesOnRandomTexts) {
    // Every length, every mix of CR, LF and tab, characters of every UTF-8 length and ones outside
    // Unicode, between runs of plain bytes (control characters next to CR among them) that the
    // removal passes over eight at a time: the wide, appending and UTF-8 forms must all give the
    // stepwise result, CR LF pairs removed left to right, then, for the second form, every tab
    // and every CR.
    std::mt19937 random(7);
    const String alphabet = String(L"a\r\n\t\r\n<\u00e9\u20ac") + wchar_t(0x1F600) +
                            wchar_t(0xD800) + wchar_t(0x110000);
    const String plain = L"az\x0b\x0c\x0e\x1f\x7f%";
    for (int round = 0; round < 2000; ++round) {
        String text;
        const int length = round < 200    ? round
                           : round < 1900 ? static_cast<int>(random() % 700)
                                          : static_cast<int>(random() % 12000);
        while (static_cast<int>(text.size()) < length) {
            text += alphabet[random() % alphabet.size()];
            for (auto run = random() % (round % 2 == 0 ? 2 : 24); run > 0; --run)
                text += plain[random() % plain.size()];
        }
        const String pairsRemoved = text::replace(text, L"\r\n", L"");
        EXPECT_EQ(movieurl::StripLineBreaks(text), pairsRemoved) << round;
        String everything = text;
        movieurl::stripLineBreaksTabsAndCarriageReturns(everything);
        EXPECT_EQ(everything, text::replace(text::replace(pairsRemoved, L"\t", L""), L"\r", L""))
            << round;
        const std::string utf8 = toUtf8(text);
        for (const bool all : {false, true}) {
            std::string wide = "url\r", narrow = "url\r";
            movieurl::appendWithoutLineBreaks(wide, text, all);
            movieurl::appendWithoutLineBreaks(narrow, std::string_view(utf8), all);
            EXPECT_EQ(wide, "url\r" + toUtf8(all ? everything : pairsRemoved)) << round;
            EXPECT_EQ(narrow, wide) << round << (all ? " everything" : " pairs");
        }
    }
}

TEST(ControlRender, ChartMessagesAccumulateUnescapedInCallOrder) {
    ControlRig rig;
    rig->SetChartMessage(enumChartMessageType::Chart_Load_on_Progress, L"Loading");
    rig->SetChartMessage(enumChartMessageType::Chart_Load_on_Progress, L"Wait");
    rig->SetChartMessage(enumChartMessageType::No_data_to_display, L"   ");
    rig->SetChartMessage(static_cast<enumChartMessageType>(0), L"x");
    rig->SetChartMessage(enumChartMessageType::Invalid_XML_data, L" a&b ");
    const String messages =
        L"&PBarLoadingText=Loading&PBarLoadingText=Wait&=x&InvalidXMLText= a&b ";
    EXPECT_EQ(rig->chartMessages(), messages);
    rig->RenderChart();
    EXPECT_EQ(rig.lastMovie(), LR"(file:///\PTM01.swf?nocache=)" + timer + size + messages +
                                   debugOff + L"&dataXML=");
}

TEST(ControlRender, ChartMessageTypeErrorsLeaveTheMessagesAlone) {
    ControlRig rig;
    // A blank message is dropped before its type is looked at (99: no error).
    for (const auto& [type, text, error] : {std::tuple{8, L"x", 9}, std::tuple{-1, L"x", 9},
                                            std::tuple{40000, L"x", 6}, std::tuple{99, L" ", 0}})
        EXPECT_EQ(
            errorOf([&] { rig->SetChartMessage(static_cast<enumChartMessageType>(type), text); }),
            error)
            << type;
    EXPECT_EQ(rig->chartMessages(), L"");
}

TEST(ControlRender, SizeAndTimerComeFromTheContainerAndTheClock) {
    ControlRig rig;
    rig.container.resize(640, 480.5f);
    rig.clock->set(3.125f);
    rig->RenderChart();
    EXPECT_EQ(rig.lastMovie(), LR"(file:///\PTM01.swf?nocache=3.125&chartWidth=640)"
                               L"&chartHeight=480.5" +
                                   debugOff + L"&dataXML=");
    EXPECT_EQ(movieurl::numberText(45296.78f, L','), L"45296,78");
    EXPECT_EQ(movieurl::numberText(320.0f, L','), L"320");
    EXPECT_EQ(movieurl::numberText(5.5f, L'.'), L"5.5");
    EXPECT_EQ(movieurl::numberText(0.25f, L','), L"0,25");
    EXPECT_EQ(movieurl::numberText(86399.99f, L'.'), L"86399.99");
}

TEST(ControlRender, DesignTimeSampleUrl) {
    ControlRig rig(false);
    rig->put_ChartPath(LR"(C:\Charts)");
    rig->put_BGColor(L"ffcc00");
    rig.clear();
    rig.container.show();
    EXPECT_EQ(rig->get_renderedFrom(), L"dtime");
    EXPECT_EQ(rig.host->calls(), (std::vector<String>{L"BGColor=ffcc00", L"Movie"}));
    EXPECT_EQ(rig.lastMovie(), LR"(file:///C:\Charts\PTM01.swf?nocache=)" + timer + size +
                                   debugOff + L"&BGColor=ffcc00&dataXML=" + rig->GetSampleXML());
}

TEST(ControlRender, RunModeReadyTextGoesThroughTheDataObject) {
    ControlRig rig;
    rig->put_setDataXML(L"<chart caption='x'></chart>");
    auto data = rig->get_Data();
    EXPECT_TRUE(data->get_isExternalXML());
    EXPECT_EQ(data->get_externalXML(), L"<chart caption='x'></chart>");
    EXPECT_FALSE(data->get_isDataAdded());
    EXPECT_EQ(rig.container.notifications(), std::vector<String>{L"XMLDataString"});
    EXPECT_EQ(rig->get_renderedFrom(), L"");
    // Switching back to the data file drops the ready text from the data object.
    rig->RenderFromURL(L"http://example.com/d.xml");
    EXPECT_FALSE(data->get_isExternalXML());
    EXPECT_EQ(data->get_externalXML(), L"");
}

// A document handed as UTF-8 text and the same document handed as wide text: the control keeps
// one UTF-8 text shared with the data object, and both routes give the same movie URL, the same
// property value and the same data-object document.
TEST(ControlRender, AUtf8DocumentAndItsWideFormRenderAlike) {
    struct Case {
        const char* name;
        std::string utf8;
    };
    const Case cases[] = {
        {"plain", "<chart caption='x'><set value='1'/></chart>"},
        {"line breaks and tabs", "<chart>\r\n\t<set value='1'/>\r\r\n\n\t</chart>\r"},
        {"non-ASCII", "<chart caption='Caf\xc3\xa9 \xe6\x97\xa5 \xf0\x9f\x98\x80'></chart>"},
        {"malformed bytes", "<chart caption='\xff\xc3(\xe2\x82 \xed\xa0\x80\xf4\x90'></chart>"},
        {"percent codes", "<chart caption='50%25 &amp; more'></chart>"},
        {"empty", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ControlRig wide;
        wide->put_setDataXML(fromUtf8(c.utf8));
        ControlRig narrow;
        auto text = std::make_shared<const std::string>(c.utf8);
        narrow->put_setDataXMLText(text);
        EXPECT_EQ(narrow.lastMovie(), wide.lastMovie());
        EXPECT_EQ(narrow->renderXML(), wide->renderXML());
        EXPECT_EQ(narrow->get_setDataXML(), fromUtf8(c.utf8));
        EXPECT_EQ(narrow->get_setDataXML(), wide->get_setDataXML());
        EXPECT_EQ(narrow->get_Data()->get_isExternalXML(), wide->get_Data()->get_isExternalXML());
        EXPECT_EQ(narrow->get_Data()->get_externalXML(), wide->get_Data()->get_externalXML());
        EXPECT_EQ(narrow->get_Data()->getXML(), wide->get_Data()->getXML());
        // Valid text is shared, not copied; malformed text is kept repaired, as fromUtf8 reads it.
        const auto kept = narrow->get_Data()->externalXMLText();
        if (c.utf8.empty()) continue;
        ASSERT_NE(kept, nullptr);
        if (toUtf8(fromUtf8(c.utf8)) == c.utf8) {
            EXPECT_EQ(kept.get(), text.get());
        } else {
            EXPECT_EQ(*kept, toUtf8(fromUtf8(c.utf8)));
        }
    }
    ControlRig rig;
    rig->put_setDataXML(L"<chart></chart>");
    rig->put_setDataXMLText(nullptr);
    EXPECT_EQ(rig->get_setDataXML(), L"");
    // The data object keeps the last document it was given, as for an empty wide text.
    ControlRig wide;
    wide->put_setDataXML(L"<chart></chart>");
    wide->put_setDataXML(L"");
    EXPECT_EQ(rig.lastMovie(), wide.lastMovie());
    EXPECT_EQ(rig->get_Data()->get_externalXML(), wide->get_Data()->get_externalXML());
}

TEST(ControlRender, Utf8RepairMatchesTheWideConversion) {
    const std::string texts[] = {
        "",
        "ascii only",
        "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80", // two, three and four bytes
        "\xc3",                                 // cut short at the end
        "\xe2\x82",                             // cut short at the end
        "\xc0\xaf",                             // overlong
        "\xe0\x80\xaf",                         // overlong
        "\xed\xa0\x80",                         // a surrogate
        "\xf4\x90\x80\x80",                     // past U+10FFFF
        "\x80 stray continuation",              //
        "\xf8\x88\x80\x80\x80",                 // five-byte form
    };
    for (const std::string& t : texts) {
        auto given = std::make_shared<const std::string>(t);
        const auto repaired = movieurl::validUtf8(given);
        ASSERT_NE(repaired, nullptr);
        EXPECT_EQ(*repaired, toUtf8(fromUtf8(t))) << t;
        EXPECT_EQ(repaired.get() == given.get(), toUtf8(fromUtf8(t)) == t) << t;
    }
    EXPECT_EQ(*movieurl::validUtf8(nullptr), "");
}

// Which value renderedFrom takes after one writer call, from a given state.
TEST(ControlRender, RenderedFromTransitions) {
    constexpr bool design = false, run = true;
    enum Action { Show, SetXML, SetURL };
    const struct {
        const char* name;
        bool runMode;
        const wchar_t* before;
        const wchar_t* externalXML; // preset of setDataXML
        const wchar_t* dataFile;    // preset of setDataURL; "*" names an existing file
        Action action;
        const wchar_t* argument; // "*" names an existing file
        const wchar_t* after;
    } transitions[] = {
        {"show_first", design, L"", L"", L"", Show, L"", L"dtime"},
        {"show_keeps", design, L"exxml", L"", L"", Show, L"", L"exxml"},
        {"xml_empty", design, L"url", L"", L"", SetXML, L"", L"dtime"},
        {"xml_empty_file", design, L"dtime", L"", L"*", SetXML, L"", L"url"},
        {"xml_text", design, L"url", L"", L"*", SetXML, L"<chart/>", L"exxml"},
        {"xml_run", run, L"dtime", L"", L"", SetXML, L"<chart/>", L"dtime"},
        {"url_empty", design, L"url", L"", L"", SetURL, L"", L"dtime"},
        {"url_empty_xml", design, L"url", L"<chart/>", L"", SetURL, L"", L"exxml"},
        {"url_empty_run", run, L"", L"<chart/>", L"", SetURL, L"", L"exxml"},
        {"url_empty_run_no_xml", run, L"", L"", L"", SetURL, L"", L"dtime"},
        {"url_local", design, L"dtime", L"", L"", SetURL, L"*", L"url"},
        {"url_missing", design, L"exxml", L"", L"", SetURL, L"/nonexistent/x.xml", L"url"},
        {"url_missing_run", run, L"dtime", L"", L"", SetURL, L"/nonexistent/x.xml", L"dtime"},
        {"url_web", design, L"dtime", L"", L"", SetURL, L"http://example.com/x.xml", L"dtime"},
    };
    TempFile existing("transition.xml");
    auto resolve = [&](const wchar_t* text) {
        return String(text) == L"*" ? existing.path() : String(text);
    };
    for (const auto& t : transitions) {
        SCOPED_TRACE(t.name);
        ControlRig rig(true);
        rig->put_ChartPath(LR"(C:\Charts)");
        if (*t.externalXML) rig->put_setDataXML(t.externalXML);
        if (*t.dataFile) rig->put_setDataURL(resolve(t.dataFile));
        rig.container.setUserMode(t.runMode);
        rig->put_renderedFrom(t.before);
        if (t.action == Show) rig.container.show();
        if (t.action == SetXML) rig->put_setDataXML(resolve(t.argument));
        if (t.action == SetURL) rig->put_setDataURL(resolve(t.argument));
        EXPECT_EQ(rig->get_renderedFrom(), t.after);
    }
}

} // namespace
} // namespace plotara

// The input and output routes of `plotara render` end to end: the same data through CSV, SQLite,
// ODBC, an XML file and a data file location gives the same document and the same picture;
// every output format is a valid file to an independent reader; --layout-json writes JSON that
// jq reads, with the document's texts kept as data.
#include "apps_test_support.h"
#include "platform/sqlite/SqliteDatabase.h"

#include <cairo.h>
#include <pugixml.hpp>

namespace plotara::test {
namespace {

const std::string salesCsv = "month,North,South\r\n"
                             "Jan,120,98.5\r\n"
                             "Feb,135,\r\n"
                             "\"Mar, late\",150,110\r\n";

class RoutesTest : public AppsTest {
protected:
    void SetUp() override {
        AppsTest::SetUp();
        writeFile(path("sales.csv"), salesCsv);
        auto db = SqliteDatabase::open(path("sales.db").wstring(), SqliteDatabase::Mode::Create);
        db->execute(L"CREATE TABLE sales (month TEXT, North REAL, South REAL);"
                    L"INSERT INTO sales VALUES ('Jan', 120, 98.5), ('Feb', 135, NULL),"
                    L"('Mar, late', 150, 110);");
    }

    // The arguments of each data route for the sales figures on a chart type.
    std::vector<std::vector<std::string>> routes(const std::string& values) const {
        const std::string sql = "SELECT month, " + values + " FROM sales ORDER BY rowid";
        const std::string valueColumns = values == "North" ? "North" : "North;South";
        std::vector<std::string> csv{"--csv", "sales.csv"};
        if (values == "North") csv.insert(csv.end(), {"--value", "North"});
        return {
            csv,
            {"--db", "sales.db", "--sql", sql, "--category", "month", "--value", valueColumns},
            {"--odbc",
             std::string("Driver=") + PLOTARA_SQLITE_ODBC_DRIVER +
                 ";Database=" + path("sales.db").string(),
             "--sql", sql, "--category", "month", "--value", valueColumns},
        };
    }

    RunResult render(const std::string& type, const std::vector<std::string>& route,
                     std::initializer_list<std::string> more) const {
        std::vector<std::string> args{"render", "--type", type};
        args.insert(args.end(), route.begin(), route.end());
        args.insert(args.end(), more.begin(), more.end());
        return plotara(args);
    }

    // The number of pixels that differ between two pictures, by ImageMagick.
    std::string differentPixels(const std::string& a, const std::string& b) const {
        return runShell(dir_, "compare -metric AE " + quoted(a) + " " + quoted(b) + " null:").err;
    }
    // jq's answer to a filter over a file of the test's folder ("" and the error on failure).
    std::string jq(const std::string& filter, const std::string& file) const {
        RunResult r = runShell(dir_, "jq -r " + quoted(filter) + " " + quoted(file));
        return r.code == 0 ? r.out : "jq failed: " + r.err;
    }
};

TEST_F(RoutesTest, SameDataGivesTheSameDocumentAndPictureThroughEveryRoute) {
    for (const std::string type : {"mscolumn2d", "column2d"}) {
        SCOPED_TRACE(type);
        const auto dataRoutes = routes(type == "column2d" ? "North" : "North, South");
        std::vector<std::string> documents;
        for (std::size_t i = 0; i < dataRoutes.size(); ++i) {
            const RunResult run = render(
                type, dataRoutes[i], {"--print-xml", "-o", "route" + std::to_string(i) + ".png"});
            ASSERT_EQ(run.code, 0) << run.err;
            documents.push_back(run.out);
        }
        // The single-series chart draws the one value column chosen.
        EXPECT_THAT(documents[0], HasSubstr("label='Mar, late'"));
        EXPECT_EQ(documents[1], documents[0]);
        EXPECT_EQ(documents[2], documents[0]);

        // The document as a file (without the line end --print-xml adds), through setDataXML and
        // through setDataURL.
        writeFile(path("chart.xml"), documents[0].substr(0, documents[0].size() - 1));
        const RunResult xml = render(type, {"--xml", "chart.xml"}, {"--print-xml", "-o", "x.png"});
        const RunResult url = render(type, {"--url", "chart.xml"}, {"--print-xml", "-o", "u.png"});
        ASSERT_EQ(xml.code, 0) << xml.err;
        ASSERT_EQ(url.code, 0) << url.err;
        EXPECT_EQ(xml.out, documents[0]);
        EXPECT_EQ(url.out, documents[0]);

        for (const std::string other : {"route1.png", "route2.png", "x.png", "u.png"})
            EXPECT_EQ(differentPixels("route0.png", other), "0") << other;
    }
}

TEST_F(RoutesTest, EveryFormatIsReadByAnIndependentReader) {
    struct Case {
        std::string file, scale, expected;
    };
    const Case cases[] = {
        {"chart.png", "1", "PNG 640 480"},   {"chart.bmp", "1", "BMP3 640 480"},
        {"hidpi.png", "2", "PNG 1280 960"},  {"hidpi.bmp", "2", "BMP3 1280 960"},
        {"chart.PDF", "1", "640 x 480 pts"}, {"chart.svg", "1", "640px 480px"},
        {"chart.html", "1", "640px 480px"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const RunResult run = plotara({"render", "--type", "msline2d", "--csv", "sales.csv",
                                       "--scale", c.scale, "-o", c.file});
        ASSERT_EQ(run.code, 0) << run.err;
        const std::string ext = fs::path(c.file).extension().string();
        if (ext == ".PDF") {
            const RunResult info = runShell(dir_, "pdfinfo " + c.file);
            EXPECT_THAT(info.out, HasSubstr("Pages:           1"));
            EXPECT_THAT(info.out, HasSubstr(c.expected));
        } else if (ext == ".svg" || ext == ".html") {
            // A page holds the picture inline, as SVG.
            std::string text = readAll(path(c.file));
            if (ext == ".html") {
                EXPECT_TRUE(text.starts_with("<!DOCTYPE html>"));
                text = text.substr(text.find("<svg"), text.find("</svg>") + 6 - text.find("<svg"));
            }
            pugi::xml_document svg;
            ASSERT_TRUE(svg.load_string(text.c_str()));
            const pugi::xml_node root = svg.document_element();
            EXPECT_STREQ(root.name(), "svg");
            EXPECT_EQ(std::string(root.attribute("width").value()) + " " +
                          root.attribute("height").value(),
                      c.expected);
            EXPECT_TRUE(svg.select_node("//*[local-name()='path']")) << "nothing drawn";
        } else {
            EXPECT_EQ(identify(c.file), c.expected);
        }
    }
    // The BMP holds the same picture as the PNG: rows bottom-up, channels in BGR order.
    EXPECT_EQ(differentPixels("hidpi.png", "hidpi.bmp"), "0");
    EXPECT_EQ(differentPixels("chart.png", "chart.bmp"), "0");
}

TEST_F(RoutesTest, DashWritesPngToStandardOutputAndPrintUrlShowsTheMovie) {
    const RunResult png = cli("render --type pie2d --csv sales.csv --value South -o -");
    ASSERT_EQ(png.code, 0) << png.err;
    ASSERT_TRUE(png.out.starts_with("\x89PNG\r\n\x1a\n"));
    writeFile(path("stdout.png"), png.out);
    EXPECT_EQ(identify("stdout.png"), "PNG 640 480");

    const RunResult url = cli(
        "render --type pie2d --csv sales.csv --value North --width 300 --height 200 --print-url");
    ASSERT_EQ(url.code, 0) << url.err;
    EXPECT_TRUE(url.out.starts_with("file:///")) << url.out;
    EXPECT_THAT(url.out, HasSubstr("PTM04.swf?nocache="));
    EXPECT_THAT(url.out, HasSubstr("&chartWidth=300&chartHeight=200"));
    EXPECT_THAT(url.out, HasSubstr("&dataXML=<chart>"));
}

TEST_F(RoutesTest, ParametersColoursAndEscapingReachTheDocument) {
    const RunResult run =
        cli(R"(render --type mscolumn2d --csv sales.csv --param "caption=R&D; 'Q1' <draft>")"
            " --param numberPrefix=$ --colors FF0000;00FF00 --print-xml");
    ASSERT_EQ(run.code, 0) << run.err;
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(run.out.c_str())) << run.out;
    const pugi::xml_node chart = doc.child("chart");
    EXPECT_STREQ(chart.attribute("caption").value(), "R&D; 'Q1' <draft>");
    EXPECT_STREQ(chart.attribute("numberPrefix").value(), "$");
    std::vector<std::string> colors;
    for (const pugi::xml_node dataset : chart.children("dataset"))
        colors.push_back(dataset.attribute("color").value());
    EXPECT_EQ(colors, (std::vector<std::string>{"FF0000", "00FF00"}));
}

TEST_F(RoutesTest, XYChartsFromCsvAndFromTheBuiltInSampleDatabase) {
    writeFile(path("xy.csv"), "load,orders,size\n10,50,3\n20,65,4\n");
    const RunResult bubble = cli("render --type bubble --csv xy.csv --print-xml -o b.png");
    ASSERT_EQ(bubble.code, 0) << bubble.err;
    EXPECT_THAT(bubble.out,
                HasSubstr("<dataset seriesName='orders' ><set X='10' Y='50' Z='3'  />"));

    const RunResult scatter = cli(
        R"(render --type scatter --sql "SELECT endpoint, load_rps, response_ms FROM response_times)"
        R"( ORDER BY endpoint" --category load_rps --value response_ms --series endpoint)"
        " -o s.png --print-xml");
    ASSERT_EQ(scatter.code, 0) << scatter.err;
    EXPECT_THAT(scatter.out, HasSubstr("seriesName='/api/login'"));
    EXPECT_EQ(identify("s.png"), "PNG 640 480");
}

// A dual-axis type given two or more series and no --secondary draws the last one on the
// secondary axis and says so; --secondary is followed as given; a document is drawn as written,
// its empty secondary axis left out.
TEST_F(RoutesTest, DualAxisChartsDrawTheLastSeriesOnTheSecondaryAxis) {
    writeFile(path("payrolls.csv"), "month,level,change\nJan,158100,-140\nFeb,158300,200\n"
                                    "Mar,158400,100\n");
    writeFile(path("long.csv"), "month,kind,value\nJan,level,158100\nJan,change,-140\n"
                                "Feb,level,158300\nFeb,change,200\n");
    writeFile(path("one-axis.xml"), "<chart><categories><category label='Jan'/></categories>"
                                    "<dataset seriesName='level'><set value='158100'/></dataset>"
                                    "<dataset seriesName='change'><set value='-140'/></dataset>"
                                    "</chart>");
    const std::string left = "secondary axis left out";
    struct Case {
        std::string type;
        const char* args;
        std::string secondary; // the series on the y2 axis, "" for none (and no y2 axis)
        std::string note;      // a line on standard error, "" when it mentions no secondary axis
    } cases[] = {
        {"mscombidy2d", "--csv payrolls.csv", "change", "change"},
        {"msstackedcolumn2dlinedy", "--csv payrolls.csv", "change", "change"},
        {"mscombidy2d", "--csv payrolls.csv --secondary level", "level", ""},
        {"mscombidy2d", "--csv payrolls.csv --value level", "", left},
        {"scrollcombidy2d",
         R"(--db sales.db --sql "SELECT month, North, South FROM sales")"
         " --category month --value North;South",
         "South", "South"},
        {"stackedcolumn3dlinedy", "--csv long.csv --category month --series kind --value value",
         "level", "level"}, // the series sorted: change, level
        {"mscolumn3dlinedy", "--xml one-axis.xml", "", left},
    };
    const std::string filter =
        "[([.axes[].id] | join(\",\")), ([.series[] | select(.axis == \"y2\") | .name] | "
        "join(\",\")), ([.axes[] | select(.id == \"y2\") | .ticks[] | select(.label != \"\")] "
        "| length > 1), ([.series[] | .drawn == .points] | all)] | @csv";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type + " " + c.args);
        const RunResult run = render(c.type, words(c.args), {"--layout-json", "layout.json"});
        ASSERT_EQ(run.code, 0) << run.err;
        const std::string axes =
            c.secondary.empty() ? "\"y\",\"\",false" : "\"y,y2\",\"" + c.secondary + "\",true";
        EXPECT_EQ(jq(filter, "layout.json"), axes + ",true\n");
        if (c.note.empty()) {
            EXPECT_THAT(run.err, Not(HasSubstr("secondary")));
        } else if (c.note == left) {
            EXPECT_THAT(run.err,
                        HasSubstr("plotara: note: " + left + ": no series is drawn on it\n"));
        } else {
            EXPECT_THAT(run.err,
                        HasSubstr("plotara: note: \"" + c.note +
                                  "\" is drawn on the secondary axis; --secondary chooses the "
                                  "series for it\n"));
        }
    }
}

// Pixels of a PNG that are clearly red (the colour given with --colors below, also under the
// translucent fill of an area); -1 when the file
// cannot be read.
long redPixels(const std::string& file) {
    cairo_surface_t* img = cairo_image_surface_create_from_png(file.c_str());
    long red = -1;
    if (cairo_surface_status(img) == CAIRO_STATUS_SUCCESS) {
        red = 0;
        const int w = cairo_image_surface_get_width(img), h = cairo_image_surface_get_height(img);
        const int stride = cairo_image_surface_get_stride(img);
        const unsigned char* data = cairo_image_surface_get_data(img);
        for (int y = 0; y < h; ++y) {
            const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
            for (int x = 0; x < w; ++x) {
                const std::uint32_t p = row[x];
                red += ((p >> 16) & 0xFF) > 230 && ((p >> 8) & 0xFF) < 110 && (p & 0xFF) < 110;
            }
        }
    }
    cairo_surface_destroy(img);
    return red;
}

// --colors colours what the chart draws on every kind of chart: the one line or area of a
// single-series line or area chart as well as columns and series.
TEST_F(RoutesTest, ColoursColourSingleLinesAndAreasToo) {
    for (const std::string type : {"line2d", "area2d", "column2d", "msline2d"}) {
        const std::string plain = type + "-plain.png", red = type + "-red.png";
        const std::string command = "render --csv sales.csv --value North --type " + type;
        ASSERT_EQ(cli(command + " -o " + plain).code, 0);
        const RunResult run = cli(command + " --colors FF0000 -o " + red);
        ASSERT_EQ(run.code, 0) << type << run.err;
        EXPECT_EQ(redPixels(path(plain).string()), 0) << type;
        EXPECT_GT(redPixels(path(red).string()), 200) << type;
    }
}

using LayoutJsonTest = RoutesTest;

TEST_F(LayoutJsonTest, WritesTheLayoutBesideThePicture) {
    const RunResult r = cli("render --type column2d --sample --width 480 --height 320 -o chart.png "
                            "--layout-json layout.json");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(identify("chart.png"), "PNG 480 320");
    EXPECT_EQ(jq("[.width, .height, (.plot | length)] | @csv", "layout.json"), "480,320,4\n");
    EXPECT_EQ(jq(".series[0] | [.renderAs, .points, .drawn] | @csv", "layout.json"),
              "\"column\",4,4\n");
    EXPECT_EQ(jq("[.axes[] | select(.id == \"y\") | .min] | @csv", "layout.json"), "0\n");
    EXPECT_EQ(jq("[.texts[] | select(.role == \"category-label\")] | length", "layout.json"),
              "4\n");
}

TEST_F(LayoutJsonTest, DocumentTextsStayData) {
    const std::string caption = "Sales \"2024\" \\ <b>caf\xc3\xa9</b>";
    writeFile(path("sales.csv"), "month,North\nJan,120\n\"Feb, \"\"late\"\"\",135\n");
    const RunResult r = plotara({"render", "--type", "column2d", "--csv", "sales.csv", "--param",
                                 "caption=" + caption, "--layout-json", "-"});
    ASSERT_EQ(r.code, 0) << r.err;
    writeFile(path("stdout.json"), r.out);
    EXPECT_EQ(jq(".texts[] | select(.role == \"caption\") | .text", "stdout.json"), caption + "\n");
    EXPECT_EQ(jq(".texts[] | select(.role == \"category-label\") | .text", "stdout.json"),
              "Jan\nFeb, \"late\"\n");
}

// The layout's notes reach standard error: a pie of slivers says they became one slice.
TEST_F(LayoutJsonTest, TheLayoutsNotesArePrintedOnStandardError) {
    std::string xml = "<chart><set label='A' value='100000'/>";
    for (int i = 0; i < 2000; ++i)
        xml += "<set label='s" + std::to_string(i) + "' value='1'/>";
    writeFile(path("pie.xml"), xml + "</chart>");
    const RunResult r = cli("render --type 4 --xml pie.xml -o pie.png");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "plotara: note: 2000 slices under a pixel wide drawn as one \"Other\" slice "
                     "of 2,000 (2% of the total)\n");
}

} // namespace
} // namespace plotara::test

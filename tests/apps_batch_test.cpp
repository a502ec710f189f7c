// `plotara batch` and `plotara gallery` end to end: batch outputs identical to `plotara render`,
// one failing job among good ones, malformed job files, standard input; every chart type and the
// database charts in a gallery with an index of their commands; `plotara types`; the progress
// display; and the CSV reader's cases in process.
#include "apps/CsvReader.h"
#include "apps/Failures.h"
#include "apps/Progress.h"
#include "apps_test_support.h"
#include <regex>

namespace plotara::test {
namespace {

class BatchTest : public AppsTest {
protected:
    void SetUp() override {
        AppsTest::SetUp();
        writeFile(path("sales.csv"), "month,units\nJan,12\nFeb,30\nMar,21\nApr,8\n");
        writeFile(path("chart.xml"), "<graph caption='Plain'><set name='A' value='3'/>"
                                     "<set name='B' value='5'/></graph>");
    }
};

TEST_F(BatchTest, EveryJobMatchesRenderByteForByte) {
    // The same requests as job lines and as render commands, over every data route and format.
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases{
        {R"({"type":"column2d","csv":"sales.csv","output":"b1.png","width":640,"height":480})",
         {"--type", "column2d", "--csv", "sales.csv", "--width", "640", "--height", "480"}},
        {R"({"type":"line2d","xml":"chart.xml","output":"b2.svg"})",
         {"--type", "line2d", "--xml", "chart.xml"}},
        {R"({"type":5,"sample":true,"output":"b3.png","scale":2,"width":300,"height":200})",
         {"--type", "5", "--sample", "--scale", "2", "--width", "300", "--height", "200"}},
        {R"({"type":"msline2d","sql":"SELECT region, month, revenue FROM revenue_by_region",)"
         R"("category":"month","series":"region","value":"revenue","output":"b4.png",)"
         R"("param":{"caption":"Revenue","numberPrefix":"$"},"colors":"FF0000;00AA00"})",
         {"--type", "msline2d", "--sql", "SELECT region, month, revenue FROM revenue_by_region",
          "--category", "month", "--series", "region", "--value", "revenue", "--param",
          "caption=Revenue", "--param", "numberPrefix=$", "--colors", "FF0000;00AA00"}},
        {R"({"type":"pie2d","csv":"sales.csv","param":["caption=Share"],"output":"b5.bmp"})",
         {"--type", "pie2d", "--csv", "sales.csv", "--param", "caption=Share"}},
        {R"({"type":"column2d","csv":"sales.csv","output":"b6.svg","svg-text":"paths"})",
         {"--type", "column2d", "--csv", "sales.csv", "--svg-text", "paths"}},
        {R"({"type":"column2d","csv":"sales.csv","output":"b7.svg","svg-text":"text"})",
         {"--type", "column2d", "--csv", "sales.csv"}},
        {R"({"type":"column2d","csv":"sales.csv","output":"b8.html","html-fragment":true,)"
         R"("html-id":"north"})",
         {"--type", "column2d", "--csv", "sales.csv", "--html-fragment", "--html-id", "north"}},
        {R"({"type":"line2d","csv":"sales.csv","output":"b9.html"})",
         {"--type", "line2d", "--csv", "sales.csv", "--html-no-zoom"}},
        {R"({"type":"line2d","csv":"sales.csv","output":"b10.html","html-zoom":true})",
         {"--type", "line2d", "--csv", "sales.csv"}},
    };
    std::string jobs;
    for (const auto& [line, args] : cases)
        jobs += line + "\n";
    writeFile(path("jobs.jsonl"), jobs);
    const RunResult batch = cli("batch --jobs 2 jobs.jsonl");
    ASSERT_EQ(batch.code, 0) << batch.err;
    EXPECT_EQ(batch.out, std::to_string(cases.size()) + " of " + std::to_string(cases.size()) +
                             " chart(s) written\n");
    // Not a terminal: no progress bar, no progress lines, no complaint.
    EXPECT_EQ(batch.err.find('\r'), std::string::npos) << batch.err;
    EXPECT_THAT(batch.err, Not(HasSubstr("/5")));
    EXPECT_THAT(batch.err, Not(HasSubstr("plotara")));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const std::string& line = cases[i].first;
        const auto at = line.find("\"output\":\"") + 10;
        const std::string batchFile = line.substr(at, line.find('"', at) - at);
        const std::string renderFile = "r-" + batchFile;
        std::string command = quoted(PLOTARA_BINARY) + " render";
        for (const std::string& arg : cases[i].second)
            command += " " + quoted(arg);
        const RunResult render = runShell(dir_, command + " -o " + quoted(renderFile));
        ASSERT_EQ(render.code, 0) << render.err;
        const std::string made = readAll(path(batchFile));
        EXPECT_GT(made.size(), 100u) << batchFile;
        EXPECT_TRUE(made == readAll(path(renderFile))) << batchFile << " differs from render";
    }
    // Texts as glyph outlines, or as text.
    EXPECT_THAT(readAll(path("b6.svg")), Not(HasSubstr("<text")));
    EXPECT_THAT(readAll(path("b7.svg")), HasSubstr(">Feb</text>"));
}

TEST_F(BatchTest, AFailingJobIsNamedAndTheOthersAreComplete) {
    writeFile(path("jobs.jsonl"),
              R"({"type":"column2d","csv":"sales.csv","output":"good1.png"})"
              "\n\n# the next job reads a file that is not there\n"
              R"({"type":"column2d","csv":"missing.csv","output":"bad.png"})"
              "\n"
              R"({"type":"bar2d","csv":"sales.csv","output":"good2.png","width":200,"height":150})"
              "\n"
              R"({"type":"pie2d","csv":"sales.csv","output":"good3.svg"})"
              "\n");
    const RunResult run = cli("batch jobs.jsonl -j 3");
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "3 of 4 chart(s) written, 1 failed\n");
    EXPECT_THAT(run.err, HasSubstr("jobs.jsonl line 4 (bad.png): "));
    EXPECT_THAT(run.err, HasSubstr("missing.csv"));
    EXPECT_THAT(run.err, HasSubstr("1 job(s) failed, on line(s) 4\n"));
    EXPECT_EQ(identify("good1.png"), "PNG 640 480");
    EXPECT_EQ(identify("good2.png"), "PNG 200 150");
    EXPECT_THAT(readAll(path("good3.svg")), HasSubstr("</svg>"));
    // Nothing of the failed job, and no temporary file left over.
    EXPECT_EQ(files(), (std::vector<std::string>{"chart.xml", "good1.png", "good2.png", "good3.svg",
                                                 "jobs.jsonl", "sales.csv"}));
}

TEST_F(BatchTest, MalformedLinesAreListedAndNothingIsDrawn) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {R"({"type":"column2d","csv":"sales.csv","output":"ok.png"})", ""},
        {R"({"type":"column2d","csv":"sales.csv","output":"w.png","widht":640})",
         R"(line 2: unknown field "widht" (did you mean "width"?))"},
        {R"({"type":"column2d","csv":"sales.csv","outptu":"x.png"})",
         R"(line 3: unknown field "outptu" (did you mean "output"?))"},
        {R"({"type":"column2d","csv":"sales.csv")", "line 4: not JSON: "},
        {R"(["column2d"])", "line 5: a job must be a JSON object"},
        {R"({"csv":"sales.csv","output":"y.png","width":"640"})",
         R"(line 6: "width" must be a whole number from 1 to 16384)"},
        {R"({"csv":"sales.csv","output":"z.png","width":0})",
         R"(line 7: "width" must be a whole number)"},
        {R"({"csv":"sales.csv"})", R"(line 8: no "output" file)"},
        {R"({"output":"v.png"})", R"(line 9: give exactly one of "sample", "xml")"},
        {R"({"csv":"sales.csv","xml":"chart.xml","output":"u.png"})",
         "line 10: give exactly one of"},
        {R"({"csv":"sales.csv","output":"./ok.png"})",
         R"(line 11: output "./ok.png" is also line 1's)"},
        {R"({"csv":"sales.csv","output":"-"})", "line 12: a batch job cannot write to standard"},
        {R"({"sql":"SELECT 1","output":"s.png"})", R"(line 13: "sql" needs "value")"},
        {R"({"xml":"chart.xml","category":"month","output":"t.png"})",
         R"(line 14: "category", "value")"},
        {R"({"csv":"sales.csv","param":["caption"],"output":"p.png"})",
         R"(line 15: "param" needs name=value)"},
        {R"({"csv":"sales.csv","strict":true,"param":{"captoin":"A"},"output":"q.png"})",
         "line 16: "},
        {R"({"type":2.5,"csv":"sales.csv","output":"r.png"})",
         R"(line 17: "type" must be a chart type name or a number)"},
        {R"({"csv":"sales.csv","output":"d.png","width":300,"width":400})",
         R"(line 18: field "width" given twice)"},
        {R"({"csv":"sales.csv","output":"e.svg","svg-text":"outlines"})",
         R"(line 19: "svg-text" must be "text" or "paths")"},
    };
    std::string jobs;
    for (const auto& [line, expected] : cases)
        jobs += line + "\n";
    writeFile(path("jobs.jsonl"), jobs);
    const RunResult run = cli("batch jobs.jsonl");
    EXPECT_EQ(run.code, 2);
    EXPECT_THAT(run.err, HasSubstr("18 malformed line(s) in jobs.jsonl"));
    for (const auto& [line, expected] : cases) {
        if (expected.empty()) continue;
        EXPECT_THAT(run.err, HasSubstr("jobs.jsonl " + expected));
    }
    EXPECT_THAT(run.err, Not(HasSubstr("line 1:")));
    EXPECT_EQ(files(), (std::vector<std::string>{"chart.xml", "jobs.jsonl", "sales.csv"}));
}

TEST_F(BatchTest, StandardInputEmptyFilesMissingFilesAndWarnings) {
    const RunResult piped = runShell(
        dir_, "printf '%s\\n' '{\"sample\":true,\"type\":\"pie2d\",\"output\":\"p.png\"}' | " +
                  quoted(PLOTARA_BINARY) + " batch -");
    EXPECT_EQ(piped.code, 0) << piped.err;
    EXPECT_EQ(identify("p.png"), "PNG 640 480");

    writeFile(path("empty.jsonl"), "\n# nothing\n");
    const RunResult empty = cli("batch empty.jsonl");
    EXPECT_EQ(empty.code, 2);
    EXPECT_THAT(empty.err, HasSubstr("empty.jsonl holds no jobs"));

    const RunResult missing = cli("batch nowhere.jsonl");
    EXPECT_EQ(missing.code, 2);
    EXPECT_THAT(missing.err, HasSubstr("cannot open the job file nowhere.jsonl"));

    const RunResult noThreads = cli("batch --jobs 0 empty.jsonl");
    EXPECT_EQ(noThreads.code, 2);
    writeFile(path("jobs.jsonl"), R"({"csv":"sales.csv","param":{"captoin":"A"},"output":"a.png"})"
                                  "\n");
    const RunResult run = cli("batch jobs.jsonl");
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("jobs.jsonl line 1: "));
    EXPECT_THAT(run.err, HasSubstr("caption"));
}

class GalleryTest : public AppsTest {};

std::string unescapeHtml(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&amp;", "&"}};
    for (const auto& [entity, plain] : entities)
        for (std::size_t at; (at = text.find(entity)) != std::string::npos;)
            text.replace(at, std::string(entity).size(), plain);
    return text;
}

TEST_F(GalleryTest, EveryTypeAndTheDatabaseChartsWithAnIndexOfTheirCommands) {
    // A database given by a relative path: the commands name it so that they run in the gallery.
    fs::create_directory(path("data"));
    fs::copy_file(PLOTARA_SAMPLE_DB, path("data/sample.db"));
    const RunResult run = cli("gallery -o g --db data/sample.db --width 240 --height 160");
    ASSERT_EQ(run.code, 0) << run.err;
    // Not a terminal: plain progress lines.
    EXPECT_THAT(run.err, HasSubstr("[1/45] 01-column3d\n"));
    EXPECT_THAT(run.err, HasSubstr("[45/45] db-units-table\n"));
    EXPECT_EQ(run.err.find('\r'), std::string::npos);

    const std::string index = readAll(path("g/index.html"));
    const std::regex image("<img src=\"([^\"]+)\\.png\"");
    int pictures = 0;
    for (auto it = std::sregex_iterator(index.begin(), index.end(), image);
         it != std::sregex_iterator(); ++it) {
        const std::string stem = (*it)[1];
        ++pictures;
        EXPECT_EQ(identify("g/" + stem + ".png"), "PNG 240 160") << stem;
        EXPECT_TRUE(fs::file_size(path("g/" + stem + ".svg")) > 0) << stem;
        // The picture links to its page, written beside it.
        EXPECT_THAT(index, HasSubstr("<a href=\"" + stem + ".html\"><img")) << stem;
        EXPECT_TRUE(readAll(path("g/" + stem + ".html")).starts_with("<!DOCTYPE html>")) << stem;
    }
    EXPECT_EQ(pictures, 45);

    // Every type of the catalogue is there under its name; `types` lists number, name, group and
    // chart files.
    const RunResult types = cli("types");
    ASSERT_EQ(types.code, 0);
    const std::regex row("\n(\\d+) +(\\w+) ");
    int listed = 0;
    for (auto it = std::sregex_iterator(types.out.begin(), types.out.end(), row);
         it != std::sregex_iterator(); ++it) {
        ++listed;
        EXPECT_THAT(index, HasSubstr("<b>" + (*it)[2].str() + "</b>")) << (*it)[2];
    }
    EXPECT_EQ(listed, 37);
    for (const std::string line :
         {"2   column2d                   Single Series          PTM02.swf, PTL_PTM02.swf",
          "29  scatter                    XY Plot Charts         PTM29.swf, -",
          "26  msstackedcolumn2d          Multi Series Stacked   PTM26.swf, -"})
        EXPECT_THAT(types.out, HasSubstr(line));

    // The command shown under a picture makes that picture.
    for (const std::string stem : {"23-mscombidy2d", "db-revenue-by-region"}) {
        SCOPED_TRACE(stem);
        const std::regex code("id=\"" + stem + "\">[\\s\\S]*?<code>([^<]*)</code>");
        std::smatch match;
        ASSERT_TRUE(std::regex_search(index, match, code));
        const std::string command = unescapeHtml(match[1]);
        ASSERT_TRUE(command.starts_with("plotara render ")) << command;
        if (stem.starts_with("db-")) {
            EXPECT_THAT(command, HasSubstr("--db " + path("data/sample.db").string()));
        }
        // Kept aside: running the command writes the picture again under the same name.
        fs::rename(path("g/" + stem + ".png"), path("g/gallery.png"));
        const RunResult again = runShell(path("g"), quoted(PLOTARA_BINARY) + command.substr(7));
        ASSERT_EQ(again.code, 0) << command << again.err;
        const RunResult diff =
            runShell(path("g"), "compare -metric AE gallery.png " + stem + ".png null:");
        EXPECT_EQ(diff.err, "0");
    }
}

TEST(Progress, RedrawsOneBarOnATerminalAndWritesLinesOtherwise) {
    std::ostringstream bar, lines;
    apps::Progress onTerminal(bar, 4, true), inALog(lines, 4, false);
    for (const char* label : {"a", "b", "c", "d"}) {
        onTerminal.step(label);
        inALog.step(label);
    }
    onTerminal.finish();
    inALog.finish();
    EXPECT_EQ(bar.str().find('\n'), bar.str().size() - 1) << "one line, ended at the finish";
    EXPECT_THAT(bar.str(), HasSubstr("\r[#######-----------------------] 1/4 a\x1b[K"));
    EXPECT_THAT(bar.str(), HasSubstr("\r[##############################] 4/4 d\x1b[K"));
    EXPECT_EQ(lines.str(), "[1/4] a\n[2/4] b\n[3/4] c\n[4/4] d\n");
}

TEST(CsvReader, ParsesQuotedFieldsLineEndsAndBlankLines) {
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> header;
        std::vector<std::vector<std::string>> rows;
    };
    const Case cases[] = {
        {"plain LF", "a,b\n1,2\n", {"a", "b"}, {{"1", "2"}}},
        {"CR LF, no final line end", "a,b\r\n1,2", {"a", "b"}, {{"1", "2"}}},
        {"byte-order mark", "\xEF\xBB\xBFx,y\n1,2\n", {"x", "y"}, {{"1", "2"}}},
        {"quoted comma, quote, line break",
         "n,v\n\"a,b\",\"say \"\"hi\"\"\"\n\"two\nlines\",3\n",
         {"n", "v"},
         {{"a,b", "say \"hi\""}, {"two\nlines", "3"}}},
        {"empty cells and short rows",
         "n,a,b\nx,,1\ny\n",
         {"n", "a", "b"},
         {{"x", "", "1"}, {"y"}}},
        {"blank lines skipped", "n,v\n\n1,2\r\n\r\n", {"n", "v"}, {{"1", "2"}}},
        {"header only", "n,v\n", {"n", "v"}, {}},
        {"a quote inside a field is text", "n,v\na\"b,1\"\n", {"n", "v"}, {{"a\"b", "1\""}}},
        {"a lone CR ends a line", "n,v\r1,2\r3,4", {"n", "v"}, {{"1", "2"}, {"3", "4"}}},
        {"a separator last in the text", "n,v\n1,", {"n", "v"}, {{"1", ""}}},
        {"an empty quoted field", "n,v\n\"\",\"\"\n", {"n", "v"}, {{"", ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const apps::CsvTable table = apps::parseCsv(c.text);
        EXPECT_EQ(table.header, c.header);
        EXPECT_EQ(table.rowTexts(), c.rows);
    }
}

TEST(CsvReader, RejectsBrokenQuotingAndEmptyText) {
    for (const std::string text : {"n,v\n\"open,1\n", "n,v\n\"a\"b,1\n", "", "\n\n"})
        EXPECT_THROW(apps::parseCsv(text), apps::ChartFailure) << text;
    // The line a message names counts the line breaks inside quoted fields before it.
    struct Case {
        std::string text, message;
    };
    const Case cases[] = {
        {"n,v\n\"two\nlines\",1\n\"x\"y,2\n",
         "CSV line 4: text after the closing quote of a field"},
        {"n,v\n\"a\"\"\nb\",1\n2,\"open\n\n", "CSV line 4: a quoted field is not closed"},
    };
    for (const Case& c : cases)
        EXPECT_THAT([&] { apps::parseCsv(c.text); },
                    testing::ThrowsMessage<apps::ChartFailure>(c.message));
    const apps::CsvTable table = apps::parseCsv("n,v\n\"two\nlines\",1\n\n3,4\n");
    EXPECT_EQ(table.where(1), "line 5");
}

} // namespace
} // namespace plotara::test

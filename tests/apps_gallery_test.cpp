// `plotara gallery` and `plotara types` end to end, and the CSV reader's cases in process.
#include "apps/CsvReader.h"
#include "apps/Failures.h"
#include "apps/Progress.h"
#include "apps_test_support.h"

#include <regex>

namespace plotara::test {
namespace {

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
    EXPECT_NE(run.err.find("[1/45] 01-column3d\n"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("[45/45] db-units-table\n"), std::string::npos) << run.err;
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
        EXPECT_NE(index.find("<a href=\"" + stem + ".html\"><img"), std::string::npos) << stem;
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
        EXPECT_NE(index.find("<b>" + (*it)[2].str() + "</b>"), std::string::npos) << (*it)[2];
    }
    EXPECT_EQ(listed, 37);
    for (const std::string line :
         {"2   column2d                   Single Series          PTM02.swf, PTL_PTM02.swf",
          "29  scatter                    XY Plot Charts         PTM29.swf, -",
          "26  msstackedcolumn2d          Multi Series Stacked   PTM26.swf, -"})
        EXPECT_NE(types.out.find(line), std::string::npos) << line << "\n" << types.out;

    // The command shown under a picture makes that picture.
    for (const std::string stem : {"23-mscombidy2d", "db-revenue-by-region"}) {
        SCOPED_TRACE(stem);
        const std::regex code("id=\"" + stem + "\">[\\s\\S]*?<code>([^<]*)</code>");
        std::smatch match;
        ASSERT_TRUE(std::regex_search(index, match, code));
        const std::string command = unescapeHtml(match[1]);
        ASSERT_TRUE(command.starts_with("plotara render ")) << command;
        if (stem.starts_with("db-")) {
            EXPECT_NE(command.find("--db " + path("data/sample.db").string()), std::string::npos)
                << command;
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
    EXPECT_NE(bar.str().find("\r[#######-----------------------] 1/4 a\x1b[K"), std::string::npos);
    EXPECT_NE(bar.str().find("\r[##############################] 4/4 d\x1b[K"), std::string::npos);
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
    for (const Case& c : cases) {
        try {
            apps::parseCsv(c.text);
            ADD_FAILURE() << c.text;
        } catch (const apps::ChartFailure& failure) {
            EXPECT_EQ(std::string(failure.what()), c.message);
        }
    }
    const apps::CsvTable table = apps::parseCsv("n,v\n\"two\nlines\",1\n\n3,4\n");
    EXPECT_EQ(table.where(1), "line 5");
}

} // namespace
} // namespace plotara::test

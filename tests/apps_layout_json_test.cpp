// `plotara render --layout-json`: the layout of the drawn chart as JSON that a standard reader
// (jq) accepts, with the document's texts kept as data.
#include "apps_test_support.h"

namespace plotara::test {
namespace {

class LayoutJsonTest : public AppsTest {
protected:
    // jq's answer to a filter over a file of the test's folder ("" and the error on failure).
    std::string jq(const std::string& filter, const std::string& file) const {
        RunResult r = runShell(dir_, "jq -r " + quoted(filter) + " " + quoted(file));
        return r.code == 0 ? r.out : "jq failed: " + r.err;
    }
};

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

TEST_F(LayoutJsonTest, BothOnStandardOutputIsRefused) {
    const RunResult r = cli("render --type column2d --sample -o - --layout-json -");
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("standard output"), std::string::npos) << r.err;
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

// Failures and streams of `plotara render`: bad input with its exit code and message and no
// output left behind, output targets of every kind, write errors on standard output, runs killed
// while writing, endless inputs, and --xml and --url reading one file alike.
#include "apps/BmpWriter.h"
#include "apps/DeviceFolders.h"
#include "apps/TemporaryFile.h"
#include "apps_test_support.h"
#include "control/Picture.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include <csignal>
#include <sys/stat.h>

namespace plotara::test {
namespace {

class StreamsTest : public AppsTest {};

TEST_F(StreamsTest, WriteErrorsOnStandardOutputFailTheCommand) {
    const std::string binary = quoted(PLOTARA_BINARY);
    const std::string commands[] = {
        binary + " types",
        binary + " render --sample --print-xml",
        binary + " render --sample --print-url",
        binary + " render --sample -o -",
    };
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        const RunResult run = runShell(dir_, "( " + command + " >/dev/full )");
        EXPECT_EQ(run.code, 1);
        EXPECT_THAT(run.err, HasSubstr("standard output"));
    }
}

TEST_F(StreamsTest, OutputsKeepTheirPermissionBitsAndTheLongestNamesCanBeWritten) {
    for (const auto mode : {0600, 0640, 0755}) {
        writeFile(path("chart.png"), "old");
        ::chmod(path("chart.png").c_str(), static_cast<mode_t>(mode));
        ASSERT_EQ(cli("render --sample -o chart.png").code, 0);
        struct stat info {};
        ASSERT_EQ(::stat(path("chart.png").c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, static_cast<mode_t>(mode));
        EXPECT_NE(readAll(path("chart.png")), "old");
    }
    fs::remove(path("chart.png"));
    for (const std::size_t length : {249u, 252u, 255u}) {
        const std::string name = std::string(length - 4, 'n') + ".svg";
        const RunResult run = plotara({"render", "--sample", "-o", name});
        EXPECT_EQ(run.code, 0) << length << run.err;
        EXPECT_EQ(files(), std::vector<std::string>{name});
        fs::remove(path(name));
    }
}

TEST_F(StreamsTest, TargetsThatAreNotRegularFilesOrAmongTheDeviceFilesAreRefused) {
    fs::create_directory(path("folder.png"));
    fs::create_symlink("/dev/null", path("null.png"));
    // As root, /dev would take the temporary file and the rename: nothing may be created.
    const std::string regular = ": it is not a regular file",
                      device = ": its folder holds the system's device files";
    for (const auto& [target, reason] : {std::pair{"folder.png", regular},
                                         {"null.png", regular},
                                         {"/dev/full.png", device},
                                         {"/dev/plotara-test.svg", device},
                                         {"/dev/pts/x.png", device}}) {
        const RunResult run = plotara({"render", "--sample", "-o", target});
        EXPECT_EQ(run.code, 1) << target;
        EXPECT_THAT(run.err, HasSubstr("cannot write " + std::string(target) + reason));
        EXPECT_TRUE(reason == regular || !fs::exists(target)) << target;
    }
    EXPECT_EQ(files(), (std::vector<std::string>{"folder.png", "null.png"}));
    EXPECT_TRUE(fs::is_symlink(path("null.png")));
    EXPECT_FALSE(apps::isDeviceFolder(dir_.string()));
    EXPECT_TRUE(apps::isDeviceFolder("/dev/../dev/"));
}

TEST(DeviceFolders, TheMountHoldingAPathIsItsLongestMountPoint) {
    const std::string table = "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                              "23 22 0:5 / /dev rw,nosuid master:2 - devtmpfs udev rw,size=8k\n"
                              "24 23 0:21 / /dev/pts rw,nosuid shared:3 - devpts devpts rw,gid=5\n"
                              "25 23 0:22 / /dev/shm rw shared:4 - tmpfs tmpfs rw\n"
                              "26 22 0:23 / /mnt/my\\040disk rw - ext4 /dev/sdb1 rw\n"
                              "27 22 0:24 / /devices rw - ext4 /dev/sdc1 rw\n"
                              "broken line\n"
                              "28 22 0:25 / /dev rw - tmpfs tmpfs rw\n";
    const struct {
        const char* path;
        const char* type;
        const char* point;
    } cases[] = {
        {"/home/a", "ext4", "/"},
        {"/", "ext4", "/"},
        {"/dev", "tmpfs", "/dev"},
        {"/dev/disk/by-id", "tmpfs", "/dev"},
        {"/dev/pts", "devpts", "/dev/pts"},
        {"/dev/shm/x", "tmpfs", "/dev/shm"},
        {"/mnt/my disk/c", "ext4", "/mnt/my disk"},
        {"/devices/a", "ext4", "/devices"},
    };
    for (const auto& c : cases) {
        const apps::MountOf mount = apps::mountOf(table, c.path);
        EXPECT_EQ(mount.type, c.type) << c.path;
        EXPECT_EQ(mount.point, c.point) << c.path;
    }
    EXPECT_EQ(apps::mountOf("", "/a").point, "");
    // Folders on an ordinary file system are answered from statfs alone; every answer must be
    // the one the mount table gives.
    std::ifstream in("/proc/self/mountinfo");
    const std::string mounts{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(mounts.empty());
    int checked = 0;
    for (const char* folder : {"/", "/tmp", "/proc", "/sys", "/run", "/etc", "/dev", "/dev/pts",
                               "/dev/shm", "/dev/mqueue", "/proc/self", "/var/tmp"}) {
        std::error_code error;
        const fs::path canonical = fs::canonical(folder, error);
        if (error) continue;
        const apps::MountOf found = apps::mountOf(mounts, canonical.string());
        const bool expected = canonical == "/dev" || found.point == "/dev" ||
                              found.type == "devtmpfs" || found.type == "devpts" ||
                              found.type == "mqueue";
        EXPECT_EQ(apps::isDeviceFolder(folder), expected)
            << folder << " on " << found.type << " at " << found.point;
        ++checked;
    }
    EXPECT_GE(checked, 5);
}

// A disk that fills up while the picture is written (a file-size limit whose signal is ignored
// makes every write past it fail, as a full disk does): exit 1, the old file kept, nothing else.
TEST_F(StreamsTest, AFullDiskLeavesTheOldOutputAndNoPartialFile) {
    for (const std::string name : {"c.png", "c.svg", "c.pdf", "c.bmp"}) {
        SCOPED_TRACE(name);
        writeFile(path(name), "old");
        const RunResult run =
            runShell(dir_, "( trap '' XFSZ; ulimit -f 2; exec " + quoted(PLOTARA_BINARY) +
                               " render --sample --width 1200 --height 900 -o " + name + " )");
        EXPECT_EQ(run.code, 1);
        EXPECT_THAT(run.err, HasSubstr("cannot write " + name + ": File too large"));
        EXPECT_EQ(files(), std::vector<std::string>{name});
        EXPECT_EQ(readAll(path(name)), "old");
        fs::remove(path(name));
    }
}

TEST_F(StreamsTest, AMovieThatCannotLoadIsNamedWithoutTheDocument) {
    fs::create_directory(path("charts"));
    fs::copy_file(fs::path(PLOTARA_CHARTS_DIR) / "PTM01.swf", path("charts/PTM01.swf"));
    writeFile(path("doc.xml"),
              "<chart caption='secret'>" + std::string(5000, ' ') + "<set value='1'/></chart>");
    const RunResult run = plotara(
        {"render", "--type", "11", "--charts", "charts", "--xml", "doc.xml", "-o", "c.png"});
    EXPECT_EQ(run.code, 1);
    EXPECT_THAT(run.err, HasSubstr("the chart movie could not be loaded: file:///"));
    EXPECT_THAT(run.err, HasSubstr("PTM11.swf\n"));
    EXPECT_THAT(run.err, Not(HasSubstr("secret")));
}

// The row writer gives the bytes of the control's Picture writer for the same picture over
// white, at widths that need row padding of each size.
TEST(BmpWriter, WritesTheBytesOfThePictureWriter) {
    const std::uint32_t samples[] = {0xFFFF0000, 0x00000000, 0x80400000, 0xFF00FF00,
                                     0x7F7F7F7F, 0xFF0000FF, 0x01010101};
    for (const int width : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE(width);
        player::ArgbImage image;
        image.width = width;
        image.height = 3;
        image.stride = width * 4 + 8; // rows wider than the pixels, as cairo may make them
        image.pixels.assign(static_cast<std::size_t>(image.stride) * 3, 0);
        std::vector<std::uint32_t> overWhite;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < width; ++x) {
                const std::uint32_t argb = samples[(y * width + x) % 7];
                std::memcpy(image.pixels.data() + y * image.stride + x * 4, &argb, 4);
                const std::uint32_t under = 255 - (argb >> 24);
                overWhite.push_back(((((argb >> 16) & 0xFF) + under) << 16) |
                                    ((((argb >> 8) & 0xFF) + under) << 8) |
                                    ((argb & 0xFF) + under));
            }
        std::string written;
        apps::writeBmp(image, [&](std::string_view piece) { written += piece; });
        EXPECT_EQ(written, Picture(1, width, 3, overWhite).bmpBytes());
    }
    std::string nothing;
    apps::writeBmp(player::ArgbImage{}, [&](std::string_view piece) { nothing += piece; });
    EXPECT_TRUE(nothing.empty());
}

using StreamsDeathTest = StreamsTest;

TEST_F(StreamsDeathTest, SignalsRemoveTheTemporaryFile) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGXFSZ}) {
        SCOPED_TRACE(signal);
        EXPECT_EXIT(
            {
                apps::TemporaryFile file(path("chart.png").string());
                file.write("partial");
                std::raise(signal);
            },
            ::testing::KilledBySignal(signal), "");
        EXPECT_TRUE(files().empty()) << files().front();
    }
}

TEST_F(StreamsTest, XmlAndUrlReadAFileAlike) {
    writeFile(path("percent.xml"),
              "<chart><set label='A%41 100%' value='1'/><set label='B' value='2'/></chart>");
    writeFile(path("latin1.xml"), "<chart><set label='Caf\xe9 \xff' value='1'/></chart>");
    writeFile(path("empty.xml"), " \n");
    for (const std::string file : {"percent.xml", "latin1.xml", "empty.xml"}) {
        SCOPED_TRACE(file);
        const RunResult xml = plotara({"render", "--xml", file, "--print-xml", "-o", "x.png"});
        const RunResult url = plotara({"render", "--url", file, "--print-xml", "-o", "u.png"});
        const RunResult fileUrl = plotara(
            {"render", "--url", "file://" + path(file).string(), "--print-xml", "-o", "f.png"});
        EXPECT_EQ(xml.code, url.code);
        EXPECT_EQ(xml.code, fileUrl.code);
        EXPECT_EQ(xml.out, url.out);
        EXPECT_EQ(xml.out, fileUrl.out);
        // The first lines: a sanitizer build may add its report after them.
        EXPECT_EQ(xml.err.substr(0, xml.err.find('\n')), url.err.substr(0, url.err.find('\n')));
        EXPECT_THAT(url.err, Not(HasSubstr("Pango")));
        if (xml.code == 0) {
            EXPECT_EQ(readAll(path("x.png")), readAll(path("u.png")));
        }
    }
    EXPECT_THAT(cli("render --xml percent.xml --print-xml").out, HasSubstr("A%41 100%"));
    EXPECT_THAT(cli("render --url latin1.xml --print-xml").out, HasSubstr("Caf\uFFFD"));
}

TEST_F(StreamsTest, InputsWithoutEndStopAtTheLimitAndScalesThatCannotBeDrawnAreRefused) {
    struct Case {
        const char* args;
        int code;
        std::string message;
    };
    const Case cases[] = {
        {"--xml /dev/zero --max-input 2", 1, "holds more than 2 MiB"},
        {"--csv /dev/zero --max-input 2", 1, "holds more than 2 MiB"},
        {"--xml big.xml --max-input 1", 1, "holds more than 1 MiB"},
        {"--url big.xml --max-input 1", 1, "holds more than 1 MiB"},
        {"--url /dev/zero", 1, "not a regular file"},
        {"--xml big.xml --max-input 0", 2, "--max-input"},
        {"--url a%41.xml", 2, "percent code"},
        {"--sample --scale nan", 2, "--scale"},
        {"--sample --scale -nan", 2, "--scale"},
        {"--sample --scale inf", 2, "--scale"},
        {"--sample --width 4096 --scale 8", 2, "--scale"},
        {"--sample --height 16384 --scale 1.01", 2, "--scale"},
    };
    writeFile(path("big.xml"), "<chart>" + std::string(1 << 20, ' ') + "</chart>");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const RunResult run = cli(std::string("render -o c.png ") + c.args);
        EXPECT_EQ(run.code, c.code);
        EXPECT_THAT(run.err, HasSubstr(c.message));
    }
    const RunResult piped = runShell(dir_, "yes '<set value=\"1\"/>' | " + quoted(PLOTARA_BINARY) +
                                               " render --xml - --max-input 1 -o c.png");
    EXPECT_EQ(piped.code, 1);
    EXPECT_THAT(piped.err, HasSubstr("cannot read -: it holds more than 1 MiB"));
}

struct BadInput {
    const char* name;
    const char* args; // after "render -o chart.png"
    int code;
    std::string message; // part of standard error
};

class ErrorsTest : public AppsTest {};

TEST_F(ErrorsTest, BadInputGivesItsExitCodeAndMessageAndWritesNothing) {
    const BadInput cases[] = {
        {"unknown type", "--type column4d --csv ok.csv", 2, "unknown chart type"},
        {"type out of range", "--type 38 --csv ok.csv", 2, "unknown chart type"},
        {"no data option", "--type column2d", 2, "no data"},
        {"two data options", "--csv ok.csv --xml ok.xml", 2, "excludes"},
        {"width zero", "--csv ok.csv --width 0", 2, "--width"},
        {"parameter without =", "--csv ok.csv --param caption", 2, "name=value"},
        {"unknown message kind", "--csv ok.csv --message oops=x", 2, "no-data"},
        {"column option on a ready document", "--xml ok.xml --value v", 2, "--csv"},
        {"parameters on a ready document", "--xml ok.xml --param caption=x", 2, "--param"},
        {"missing CSV file", "--csv missing.csv", 1, "cannot read missing.csv"},
        {"CSV quote never closed", "--csv open-quote.csv", 1, "is not closed"},
        {"CSV without values", "--type column2d --csv header-only.csv", 1, "No data to display."},
        {"own no-data message", R"(--csv header-only.csv --message "no-data=Nothing yet")", 1,
         "Nothing yet"},
        {"invalid XML", "--xml broken.xml", 1, "Invalid XML data."},
        {"missing data file", "--url missing.xml", 1, "XML file not found"},
        {"missing column",
         R"(--sql "SELECT region, units FROM monthly_sales" --category region --value nope)", 1,
         "no column 'nope' (--value) in the query result; its columns: region, units"},
        {"SQL syntax error", R"(--sql "SELEC 1" --value v)", 1, "syntax error"},
        {"missing database", R"(--db missing.db --sql "SELECT 1 AS v" --value v)", 1,
         "unable to open database file"},
        {"query without rows",
         R"(--sql "SELECT region, units FROM monthly_sales WHERE 0")"
         " --category region --value units",
         1, "No data to display."},
        {"ODBC driver missing",
         "--odbc Driver=/nonexistent/libnothing.so;Database=x.db"
         R"( --sql "SELECT 1 AS v" --value v)",
         1, "ODBC"},
    };
    writeFile(path("ok.csv"), "m,v\nJan,1\n");
    writeFile(path("ok.xml"), "<chart><set value='1'/></chart>");
    writeFile(path("open-quote.csv"), "m,v\n\"Jan,1\n");
    writeFile(path("header-only.csv"), "m,v\n");
    writeFile(path("broken.xml"), "<chart><set value='1'></chart>");
    writeFile(path("chart.png"), "the previous picture"); // stays as it was
    const std::vector<std::string> inputs = files();

    for (const BadInput& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult run = plotara(words(std::string("render -o chart.png ") + c.args));
        EXPECT_EQ(run.code, c.code) << run.err;
        EXPECT_THAT(run.err, HasSubstr(c.message));
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_EQ(files(), inputs);
        EXPECT_EQ(readAll(path("chart.png")), "the previous picture");
    }
}

TEST_F(ErrorsTest, AnOutputThatCannotBeWrittenIsAChartErrorWithoutLeftovers) {
    writeFile(path("ok.csv"), "m,v\nJan,1\n");
    fs::create_directory(path("locked"));
    fs::permissions(path("locked"), fs::perms::owner_read | fs::perms::owner_exec);
    struct Case {
        std::string output, message;
    };
    // Root may write into a read-only folder; a missing folder fails for everyone.
    std::vector<Case> cases{{"no-such-folder/chart.png", "cannot write no-such-folder/chart.png"}};
    if (::geteuid() != 0) cases.push_back({"locked/chart.png", "Permission denied"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.output);
        const RunResult run = plotara({"render", "--csv", "ok.csv", "-o", c.output});
        EXPECT_EQ(run.code, 1);
        EXPECT_THAT(run.err, HasSubstr(c.message));
    }
    EXPECT_TRUE(fs::is_empty(path("locked")));
    fs::permissions(path("locked"), fs::perms::owner_all);
}

TEST_F(ErrorsTest, UsageErrorsAndHelp) {
    const struct {
        const char* args;
        std::string message;
    } usage[] = {{"", "subcommand"},
                 {"render --colour red", "--colour"},
                 {"render --sample -o chart.gif", "use .png, .svg, .pdf, .bmp or .html"},
                 {"render --sample --svg-text outlines -o chart.svg", "--svg-text"},
                 {"render --sample -o - --layout-json -", "standard output"},
                 {"types --csv data.csv", "--csv"}}; // another command's option
    for (const auto& c : usage) {
        const RunResult run = cli(c.args);
        EXPECT_EQ(run.code, 2) << c.args;
        EXPECT_THAT(run.err, HasSubstr(c.message)) << c.args;
    }
    EXPECT_FALSE(fs::exists(path("chart.svg")));

    // Each command's help has its own options and examples.
    const struct {
        const char* command;
        const char* option;
    } commands[] = {{"render", "--csv"},
                    {"gallery", "--output"},
                    {"view", "--snapshot"},
                    {"batch", "JOBS"},
                    {"types", "--help"}};
    for (const auto& c : commands) {
        const RunResult help = plotara({c.command, "--help"});
        EXPECT_EQ(help.code, 0) << c.command;
        EXPECT_THAT(help.out, HasSubstr("Example")) << c.command;
        EXPECT_THAT(help.out, HasSubstr(c.option)) << c.command;
    }
    const RunResult topHelp = cli("--help");
    for (const std::string command : {"render", "gallery", "view", "batch", "types"})
        EXPECT_THAT(topHelp.out, HasSubstr("  " + command));
    // The help speaks of chart attributes and the player's chart files, not of movies.
    const RunResult render = cli("render --help");
    for (const std::string text :
         {"docs/chart-xml.md", "caption=Sales", "numberPrefix=$", "yAxisMinValue=0",
          "the address the control hands to the player"})
        EXPECT_THAT(render.out, HasSubstr(text));
    const RunResult types = cli("types");
    EXPECT_TRUE(types.out.starts_with("No  Name")) << types.out;
    EXPECT_THAT(types.out, HasSubstr("Player chart files (full, light)"));
    for (const RunResult& run : {render, types, cli("--help")})
        EXPECT_THAT(run.out, Not(HasSubstr("movie")));
}

} // namespace
} // namespace plotara::test

// Shared set-up of the command line's end-to-end tests: a private folder per test, the built
// plotara program run through the shell with its exit code, standard output and standard error,
// and independent readers of its outputs (ImageMagick's identify, poppler's pdfinfo, pugixml).
#pragma once

#include "file_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace plotara::test {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

// What one run of a program gave.
struct RunResult {
    int code = -1;
    std::string out, err;
};

inline void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Quotes a word for the shell.
inline std::string quoted(const std::string& word) {
    std::string q = "'";
    for (char c : word)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// The words of a command line: blanks separate them, double quotes keep blanks in one.
inline std::vector<std::string> words(std::string_view line) {
    std::vector<std::string> out;
    bool inQuotes = false, inWord = false;
    for (const char c : line) {
        if (c == ' ' && !inQuotes) {
            inWord = false;
            continue;
        }
        if (!inWord) out.emplace_back();
        inWord = true;
        if (c == '"')
            inQuotes = !inQuotes;
        else
            out.back() += c;
    }
    return out;
}

// Runs a shell command line in a folder, capturing its outputs in files there.
inline RunResult runShell(const fs::path& dir, const std::string& command) {
    const fs::path out = dir / ".run.out", err = dir / ".run.err";
    const std::string line = "cd " + quoted(dir.string()) + " && " + command + " >" +
                             quoted(out.string()) + " 2>" + quoted(err.string());
    const int status = std::system(line.c_str());
    RunResult result;
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readAll(out);
    result.err = readAll(err);
    fs::remove(out);
    fs::remove(err);
    return result;
}

// A private folder for each test, removed afterwards.
class AppsTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "plotara-apps-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs the built plotara program with the arguments, in the test's folder.
    RunResult plotara(const std::vector<std::string>& args) const {
        std::string command = quoted(PLOTARA_BINARY);
        for (const std::string& arg : args)
            command += " " + quoted(arg);
        return runShell(dir_, command);
    }
    // The same, with the arguments as one command line (see words).
    RunResult cli(std::string_view line) const { return plotara(words(line)); }
    // "<format> <width> <height>" as ImageMagick reads the file, or its error.
    std::string identify(const std::string& file) const {
        return runShell(dir_, "identify -format '%m %w %h' " + quoted(file)).out;
    }
    // The files in the test's folder, hidden ones (temporary outputs) included.
    std::vector<std::string> files() const { return fileNames(dir_); }
    fs::path path(const std::string& name) const { return dir_ / name; }

    fs::path dir_;
};

} // namespace plotara::test

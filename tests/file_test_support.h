// Reading a whole file in the tests: its bytes as they are, "" when it cannot be opened.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace plotara::test {

inline std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

} // namespace plotara::test

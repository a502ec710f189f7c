#include "apps/TextFiles.h"

#include "apps/Types.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <sys/stat.h>

namespace plotara::apps {

std::string readTextFile(const std::string& path) {
    if (path == "-") {
        std::ostringstream all;
        all << std::cin.rdbuf();
        return all.str();
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
        throw ChartFailure("cannot read " + path + ": it is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ChartFailure("cannot read " + path + ": " + std::strerror(errno));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw ChartFailure("cannot read " + path + ": " + std::strerror(errno));
    return bytes;
}

} // namespace plotara::apps

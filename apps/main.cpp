// The plotara command line: charts from files and databases in one command.
#include "apps/Commands.h"

#include <iostream>
#include <string_view>
#include <unistd.h>

namespace plotara::apps {
void keepFreedMemory(); // FreedMemory.cpp: the programs only, not the apps library
}

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    // Many charts in one process: each reuses what the one before freed.
    if (argc > 1 &&
        (std::string_view(argv[1]) == "batch" || std::string_view(argv[1]) == "gallery"))
        plotara::apps::keepFreedMemory();
    return plotara::apps::run(argc, argv, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
}

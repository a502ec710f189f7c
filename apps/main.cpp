// The plotara command line: charts from files and databases in one command.
#include "apps/Commands.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    return plotara::apps::run(argc, argv, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
}

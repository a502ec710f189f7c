// The command definitions of the plotara program (render, batch, gallery, types) and the exit codes
// they end with: 0 success, 1 chart error, 2 usage error.
#pragma once

#include <ostream>

namespace plotara::apps {

// Parses the arguments and runs the command. Results go to out (charts for "-o -", documents,
// tables, help), errors and progress to err; terminal says whether err is a terminal (a progress
// bar rather than plain lines). Returns the exit code; never throws beyond allocation failure.
int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err, bool terminal);

} // namespace plotara::apps

// `plotara batch`: many charts from a job file in one process, rendered by a pool of worker
// threads, each output written atomically, failures reported per job without stopping the rest.
#pragma once

#include "apps/BatchJobs.h"

#include <ostream>
#include <string>
#include <vector>

namespace plotara::apps {

struct BatchOptions {
    std::string jobsFile; // "-" reads standard input
    int jobs = 0;         // worker threads; 0 uses the number of cores
};

// A job that failed: its line in the job file, its output and the chart's message.
struct BatchFailure {
    int line = 0;
    std::string output, message;
};

// Renders every job with `workers` threads exactly as `plotara render` renders the same
// request. Progress goes to progressOut as a bar when terminal is true, and nothing otherwise.
// Returns the failed jobs in job-file order; never raises for a job's failure.
std::vector<BatchFailure> renderBatch(const std::vector<BatchJob>& jobs, int workers,
                                      std::ostream& progressOut, bool terminal);

// The whole command: reads the job file (standard input for "-"; in is standard input), renders
// it, prints a summary to out and each failure to err. Returns the exit code: 0, 1 when any job
// failed. Raises UsageFailure for a job file that cannot be read or holds a malformed line.
int runBatch(const BatchOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
             bool terminal);

} // namespace plotara::apps

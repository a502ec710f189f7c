// The job file of `plotara batch`: JSON Lines, one object per chart whose fields are the options
// of `plotara render` without their dashes, e.g.
//   {"type":"column2d","xml":"a.xml","output":"a.png","width":640}
// Blank lines and lines starting with "#" are skipped. File names are taken as given, relative
// to the current folder, exactly as `plotara render` takes them.
#pragma once

#include "apps/Failures.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace plotara::apps {

// One chart of a job file and the line it came from (1-based).
struct BatchJob {
    int line = 0;
    RenderRequest request;
};

// The field names a job object may hold, in the order the documentation lists them.
const std::vector<std::string>& batchFieldNames();

// Reads every job of the stream; source names it in messages ("jobs.jsonl", "standard input").
// Raises UsageFailure listing each malformed line ("jobs.jsonl line 3: unknown field "widht"
// (did you mean "width"?)") when any line is not a JSON object, holds an unknown field or a
// value of the wrong kind, names no output or data, or repeats another job's output; no job is
// returned then. A file without jobs is an error too. A --param name the documentation does not
// list is a warning on warnings ("jobs.jsonl line 3: ..."), an error with "strict": true.
std::vector<BatchJob> readBatchJobs(std::istream& in, const std::string& source,
                                    std::ostream& warnings);

} // namespace plotara::apps

#include "apps/BatchCommand.h"

namespace plotara::apps {

namespace {

const char* const batchExamples = R"(Examples:
  plotara batch jobs.jsonl
  plotara batch --jobs 4 report/charts.jsonl
  make-jobs | plotara batch -

The job file holds one JSON object per line, with the fields of plotara render's options
(without their dashes):
  {"type":"column2d","xml":"a.xml","output":"a.png","width":640}
  {"type":"pie2d","csv":"regions.csv","category":"region","value":"revenue","output":"share.svg"}
  {"type":"msline2d","sql":"SELECT region, month, revenue FROM revenue_by_region",
   "category":"month","series":"region","value":"revenue","param":{"caption":"Revenue"},
   "output":"regions.png"}          (one line in the file)
Fields: type, sample, xml, url, csv, sql, db, odbc, delimiter, category, value, series,
sort-categories, secondary, render-as, param, strict, colors, message, width, height, scale,
output, svg-text, charts. "param" and "message" take ["name=value", ...] or {"name": value,
...}; flags take true or false. Blank lines and lines starting with # are skipped. Files are
relative to the current folder. Each chart comes out exactly as plotara render makes it, written
through a temporary file so a failed job never leaves a partial output.
A malformed line (not JSON, an unknown field, a wrong value, no output, an output two jobs
share) stops the batch before anything is drawn: exit code 2, with every bad line listed.
A job that fails to draw does not stop the others: each failure is printed with its line, and
the exit code is 1.)";

} // namespace

void defineBatch(CLI::App& app, BatchOptions& options) {
    CLI::App* batch =
        app.add_subcommand("batch", "Render many charts from a JSON Lines job file in parallel");
    batch->footer(batchExamples);
    batch->add_option("JOBS", options.jobsFile, "Job file (JSON Lines), or - for standard input")
        ->required();
    batch->add_option("-j,--jobs", options.jobs, "Worker threads (default: the number of cores)")
        ->check(CLI::Range(1, 256));
}

} // namespace plotara::apps

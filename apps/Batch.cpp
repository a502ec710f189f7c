#include "apps/Batch.h"

#include "apps/Progress.h"
#include "apps/Render.h"
#include "apps/WorkerPool.h"

#include <fstream>
#include <optional>
#include <sstream>

namespace plotara::apps {

std::vector<BatchFailure> renderBatch(const std::vector<BatchJob>& jobs, int workers,
                                      std::ostream& progressOut, bool terminal) {
    // Without a terminal nothing is drawn: logs get the failures and the summary only.
    std::optional<Progress> progress;
    if (terminal) progress.emplace(progressOut, static_cast<int>(jobs.size()), true);
    const int pool = workerCount(workers);
    const std::vector<std::string> errors = runTasks(
        jobs.size(), pool,
        [&jobs, pool](std::size_t i) {
            // Outputs are files (never "-"), so nothing reaches this stream.
            std::ostringstream unused;
            RenderRequest request = jobs[i].request;
            // With several workers the cores are taken: each picture is painted by its worker.
            if (pool > 1) request.paintThreads = 1;
            renderChart(request, unused);
        },
        [&](std::size_t i, const std::string&) {
            if (progress) progress->step(jobs[i].request.output);
        });
    if (progress) progress->finish();
    std::vector<BatchFailure> failures;
    for (std::size_t i = 0; i < jobs.size(); ++i)
        if (!errors[i].empty())
            failures.push_back({jobs[i].line, jobs[i].request.output, errors[i]});
    return failures;
}

int runBatch(const BatchOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
             bool terminal) {
    std::vector<BatchJob> jobs;
    if (options.jobsFile == "-") {
        jobs = readBatchJobs(in, "standard input", err);
    } else {
        std::ifstream file(options.jobsFile, std::ios::binary);
        if (!file) throw UsageFailure("cannot open the job file " + options.jobsFile);
        jobs = readBatchJobs(file, options.jobsFile, err);
    }
    const std::string source = options.jobsFile == "-" ? "standard input" : options.jobsFile;
    const std::vector<BatchFailure> failures = renderBatch(jobs, options.jobs, err, terminal);
    for (const BatchFailure& failure : failures)
        err << "plotara: " << source << " line " << failure.line << " (" << failure.output
            << "): " << failure.message << '\n';
    out << jobs.size() - failures.size() << " of " << jobs.size() << " chart(s) written";
    if (failures.empty()) {
        out << '\n';
        return exitSuccess;
    }
    out << ", " << failures.size() << " failed\n";
    err << "plotara: " << failures.size() << " job(s) failed, on line(s)";
    for (std::size_t i = 0; i < failures.size(); ++i)
        err << (i == 0 ? " " : ", ") << failures[i].line;
    err << '\n';
    return exitChartError;
}

} // namespace plotara::apps

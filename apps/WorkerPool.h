// A pool of worker threads for commands that make many independent charts (`plotara batch`,
// `plotara gallery`). Each task runs wholly on one thread and builds its own control and
// player there; each player's text engine opens its own fonts and cairo locks its caches, so
// players on different threads do not meet. Completion is reported one task at a time, so progress
// output needs no lock of its own.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace plotara::apps {

// The worker count for a --jobs value: the value itself when positive, else the number of
// cores (at least 1).
int workerCount(int requested);

// Runs task(i) once for every i in [0, count) on up to `workers` threads (never more threads
// than tasks; with one worker everything runs on the calling thread). After each task, finished(i,
// error) is called with the task's exception message, "" when it succeeded; calls of finished never
// overlap. A task that throws does not stop the others. Returns the error of every task in index
// order. Raises std::system_error only when no thread can be started at all.
std::vector<std::string>
runTasks(std::size_t count, int workers, const std::function<void(std::size_t)>& task,
         const std::function<void(std::size_t, const std::string&)>& finished);

} // namespace plotara::apps

// The options and help of `plotara batch`.
#pragma once

#include "apps/Batch.h"

#include <CLI/CLI.hpp>

namespace plotara::apps {

// Adds the batch subcommand to the program, filling options when it is given.
void defineBatch(CLI::App& app, BatchOptions& options);

} // namespace plotara::apps

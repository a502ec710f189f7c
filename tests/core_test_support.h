// Helpers shared by the core tests.
#pragma once

#include "core/ErrorTrap.h"

namespace plotara::test {

// The number of the run-time error the statement raised, 0 when it raised none.
template <class Statement>
Long errorOf(Statement&& statement) {
    const auto error = ErrorTrap::capture(statement);
    return error ? error->number() : 0;
}

} // namespace plotara::test

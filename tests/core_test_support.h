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

// The raised error as "<number> <description>", "" when the statement raised none.
template <class Statement>
String errorTextOf(Statement&& statement) {
    const auto error = ErrorTrap::capture(statement);
    return error ? std::to_wstring(error->number()) + L" " + error->description() : String();
}

} // namespace plotara::test

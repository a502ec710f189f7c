// The component model's error habits as one small helper. Code that "ignores errors statement by
// statement" runs each statement through ErrorTrap::resume; code that "traps the first error"
// runs its whole body through ErrorTrap::capture. Only plotara::Error is trapped: it is the
// run-time's error channel; anything else (out of memory) is not an error the run-time traps.
#pragma once

#include "core/Error.h"

#include <optional>
#include <utility>

namespace plotara {

class ErrorTrap {
public:
    // Runs one statement; a run-time error it raises is swallowed. Returns whether it succeeded.
    template <class Statement>
    static bool resume(Statement&& statement) noexcept(false) {
        try {
            std::forward<Statement>(statement)();
            return true;
        } catch (const Error&) {
            return false;
        }
    }

    // Runs a body and returns the first run-time error it raised, or nothing when it finished.
    template <class Body>
    static std::optional<Error> capture(Body&& body) {
        try {
            std::forward<Body>(body)();
            return std::nullopt;
        } catch (const Error& error) {
            return error;
        }
    }
};

} // namespace plotara

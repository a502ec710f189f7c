// The component model's error channel: an error number and a description.
#pragma once

#include "core/String.h"

#include <exception>
#include <string>

namespace plotara {

class Error : public std::exception {
public:
    // Never throws beyond allocation failure; the UTF-8 form of the description is made here.
    Error(Long number, String description, String source = L"");

    Long number() const noexcept { return number_; }
    const String& description() const noexcept { return description_; }
    const String& source() const noexcept { return source_; }
    // The description as UTF-8; valid as long as the Error lives.
    const char* what() const noexcept override { return what_.c_str(); }

private:
    Long number_;
    String description_;
    String source_;
    std::string what_;
};

// Base of the numbers that a component raises for its own errors (vbObjectError).
inline constexpr Long objectErrorBase = static_cast<Long>(0x80040000u);

// Named factories for the run-time errors the system raises, with their usual texts.
namespace errors {
Error invalidProcedureCall(); // 5 "Invalid procedure call or argument"
Error overflow();             // 6 "Overflow"
Error subscriptOutOfRange();  // 9 "Subscript out of range"
Error divisionByZero();       // 11 "Division by zero"
Error typeMismatch();         // 13 "Type mismatch"
Error invalidUseOfNull();     // 94 "Invalid use of Null"
Error objectRequired();       // 424 "Object required"
Error notSupported();         // 438 "Object doesn't support this property or method"
Error argumentNotOptional();  // 449 "Argument not optional"
Error wrongArgumentCount();   // 450 "Wrong number of arguments or invalid property assignment"
// A component error: objectErrorBase + code with the given description.
Error component(Long code, String description);
} // namespace errors

// Throws the given error; the one place where the core raises, so a debugger can stop here.
[[noreturn]] void raise(Error error);

} // namespace plotara

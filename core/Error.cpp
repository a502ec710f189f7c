#include "core/Error.h"

#include <utility>

namespace plotara {

Error::Error(Long number, String description, String source)
    : number_(number), description_(std::move(description)), source_(std::move(source)),
      what_(toUtf8(description_)) {}

namespace errors {
Error invalidProcedureCall() {
    return Error(5, L"Invalid procedure call or argument");
}
Error overflow() {
    return Error(6, L"Overflow");
}
Error subscriptOutOfRange() {
    return Error(9, L"Subscript out of range");
}
Error divisionByZero() {
    return Error(11, L"Division by zero");
}
Error typeMismatch() {
    return Error(13, L"Type mismatch");
}
Error invalidUseOfNull() {
    return Error(94, L"Invalid use of Null");
}
Error objectRequired() {
    return Error(424, L"Object required");
}
Error notSupported() {
    return Error(438, L"Object doesn't support this property or method");
}
Error argumentNotOptional() {
    return Error(449, L"Argument not optional");
}
Error wrongArgumentCount() {
    return Error(450, L"Wrong number of arguments or invalid property assignment");
}
Error component(Long code, String description) {
    // Component numbers wrap like the 32-bit arithmetic of the component model.
    const auto number =
        static_cast<std::uint32_t>(objectErrorBase) + static_cast<std::uint32_t>(code);
    return Error(static_cast<Long>(number), std::move(description));
}
} // namespace errors

void raise(Error error) {
    throw error;
}

} // namespace plotara

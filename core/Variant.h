// A tagged value as the component model passes it: empty, Null, missing, a number, text,
// an object or an array of Variants.
#pragma once

#include "core/Error.h"
#include "core/String.h"

#include <memory>
#include <variant>

namespace plotara {

class Dispatch;
class SafeArray;

class Variant {
public:
    enum class Type {
        Empty,
        Null,
        Missing,
        Boolean,
        Integer,
        Long,
        Single,
        Double,
        String,
        Object,
        Array
    };

    Variant() noexcept; // Empty
    Variant(bool value) noexcept;
    Variant(Integer value) noexcept;
    Variant(Long value) noexcept;
    Variant(Single value) noexcept;
    Variant(double value) noexcept;
    Variant(const wchar_t* value);
    Variant(String value) noexcept;
    Variant(std::shared_ptr<Dispatch> object) noexcept;
    Variant(SafeArray array); // the Variant holds its own copy, as the run-time does

    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    static Variant null();    // the database Null
    static Variant missing(); // an optional argument that was not passed

    Type type() const noexcept;
    bool isEmpty() const noexcept { return type() == Type::Empty; }
    bool isNull() const noexcept { return type() == Type::Null; }
    bool isMissing() const noexcept { return type() == Type::Missing; }
    bool isArray() const noexcept { return type() == Type::Array; }
    bool isObject() const noexcept { return type() == Type::Object; }
    bool isNumeric() const noexcept; // Boolean, Integer, Long, Single or Double

    // Error 13 "Type mismatch" when not an array.
    const SafeArray& array() const;
    SafeArray& array();

    // The run-time's conversions. Error 94 for Null, Error 13 where no conversion exists,
    // Error 6 when a number does not fit.
    bool asBool() const;
    Integer asInteger() const;
    Long asLong() const;
    double asDouble() const;
    String asString() const; // same as toText
    // The object itself; Error 424 "Object required" when not an object.
    const std::shared_ptr<Dispatch>& asObject() const;

    // Exact equality of type and value; objects compare by identity, arrays element by element.
    friend bool operator==(const Variant& a, const Variant& b);
    friend String toText(const Variant& value);

private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    struct MissingTag {
        bool operator==(const MissingTag&) const = default;
    };
    using Storage =
        std::variant<std::monostate, NullTag, MissingTag, bool, Integer, Long, Single, double,
                     String, std::shared_ptr<Dispatch>, std::unique_ptr<SafeArray>>;
    Storage value_;
};

// The run-time's conversion of a Variant to text (CStr): Empty gives "", Boolean "True" or
// "False", numbers their general form with the locale's decimal separator. Error 94 for Null,
// Error 13 for objects, arrays and a missing argument.
String toText(const Variant& value);

} // namespace plotara

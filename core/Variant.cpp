#include "core/Variant.h"

#include "core/Number.h"
#include "core/SafeArray.h"
#include "core/Text.h"

#include <utility>

namespace plotara {

namespace {

// Type lists the alternatives of Storage in the same order.
static_assert(static_cast<int>(Variant::Type::Array) == 10);

} // namespace

Variant::Variant() noexcept = default;
Variant::Variant(bool value) noexcept : value_(value) {}
Variant::Variant(Integer value) noexcept : value_(value) {}
Variant::Variant(Long value) noexcept : value_(value) {}
Variant::Variant(Single value) noexcept : value_(value) {}
Variant::Variant(double value) noexcept : value_(value) {}
Variant::Variant(const wchar_t* value) : value_(String(value != nullptr ? value : L"")) {}
Variant::Variant(String value) noexcept : value_(std::move(value)) {}
Variant::Variant(std::shared_ptr<Dispatch> object) noexcept : value_(std::move(object)) {}
Variant::Variant(SafeArray array) : value_(std::make_unique<SafeArray>(std::move(array))) {}

Variant::Variant(const Variant& other) : value_(std::monostate{}) {
    *this = other;
}
Variant::Variant(Variant&& other) noexcept = default;
Variant& Variant::operator=(Variant&& other) noexcept = default;
Variant::~Variant() = default;

Variant& Variant::operator=(const Variant& other) {
    if (this == &other) return *this;
    if (const auto* array = std::get_if<std::unique_ptr<SafeArray>>(&other.value_))
        value_ = std::make_unique<SafeArray>(**array);
    else
        std::visit(
            [this](const auto& value) {
                using T = std::decay_t<decltype(value)>;
                if constexpr (!std::is_same_v<T, std::unique_ptr<SafeArray>>) value_ = value;
            },
            other.value_);
    return *this;
}

Variant Variant::null() {
    Variant v;
    v.value_ = NullTag{};
    return v;
}

Variant Variant::missing() {
    Variant v;
    v.value_ = MissingTag{};
    return v;
}

Variant::Type Variant::type() const noexcept {
    return static_cast<Type>(value_.index());
}

bool Variant::isNumeric() const noexcept {
    switch (type()) {
    case Type::Boolean:
    case Type::Integer:
    case Type::Long:
    case Type::Single:
    case Type::Double:
        return true;
    default:
        return false;
    }
}

const SafeArray& Variant::array() const {
    const auto* array = std::get_if<std::unique_ptr<SafeArray>>(&value_);
    if (array == nullptr) raise(errors::typeMismatch());
    return **array;
}

SafeArray& Variant::array() {
    auto* array = std::get_if<std::unique_ptr<SafeArray>>(&value_);
    if (array == nullptr) raise(errors::typeMismatch());
    return **array;
}

bool Variant::asBool() const {
    switch (type()) {
    case Type::Empty:
        return false;
    case Type::Null:
        raise(errors::invalidUseOfNull());
    case Type::Boolean:
        return std::get<bool>(value_);
    case Type::String: {
        const String& text = std::get<String>(value_);
        const String trimmed = text::trim(text);
        if (text::equalsIgnoreCase(trimmed, L"True")) return true;
        if (text::equalsIgnoreCase(trimmed, L"False")) return false;
        return number::parseDouble(text) != 0;
    }
    default:
        if (isNumeric()) return asDouble() != 0;
        raise(errors::typeMismatch());
    }
}

Integer Variant::asInteger() const {
    return number::toInteger(asDouble());
}

Long Variant::asLong() const {
    return number::toLong(asDouble());
}

double Variant::asDouble() const {
    switch (type()) {
    case Type::Empty:
        return 0;
    case Type::Null:
        raise(errors::invalidUseOfNull());
    case Type::Boolean:
        return std::get<bool>(value_) ? -1 : 0;
    case Type::Integer:
        return std::get<Integer>(value_);
    case Type::Long:
        return std::get<Long>(value_);
    case Type::Single:
        return std::get<Single>(value_);
    case Type::Double:
        return std::get<double>(value_);
    case Type::String:
        return number::parseDouble(std::get<String>(value_));
    default:
        raise(errors::typeMismatch());
    }
}

String Variant::asString() const {
    return toText(*this);
}

const std::shared_ptr<Dispatch>& Variant::asObject() const {
    const auto* object = std::get_if<std::shared_ptr<Dispatch>>(&value_);
    if (object == nullptr) raise(errors::objectRequired());
    return *object;
}

bool operator==(const Variant& a, const Variant& b) {
    if (a.value_.index() != b.value_.index()) return false;
    if (const auto* array = std::get_if<std::unique_ptr<SafeArray>>(&a.value_))
        return **array == *std::get<std::unique_ptr<SafeArray>>(b.value_);
    return a.value_ == b.value_;
}

String toText(const Variant& value) {
    switch (value.type()) {
    case Variant::Type::Empty:
        return String();
    case Variant::Type::Null:
        raise(errors::invalidUseOfNull());
    case Variant::Type::Boolean:
        return value.asBool() ? L"True" : L"False";
    case Variant::Type::Integer:
    case Variant::Type::Long:
        return text::decimal(value.asLong());
    case Variant::Type::Single:
        return number::formatSingle(static_cast<Single>(value.asDouble()));
    case Variant::Type::Double:
        return number::formatDouble(value.asDouble());
    case Variant::Type::String:
        return std::get<String>(value.value_);
    default:
        raise(errors::typeMismatch());
    }
}

} // namespace plotara

#include "player/model/Attributes.h"

#include "player/util/TextUtil.h"

#include <cstddef>

namespace plotara::player {

namespace {

static_assert(sizeof(std::uintptr_t) == 8, "the packed syntax takes 43 bits");
static_assert(alignof(std::max_align_t) >= 2, "a block's address has its low bit clear");

// A syntax of two code points up to U+1FFFFF is packed as decimal << 1 | thousands << 22 | 1;
// others (never a separator a document names) take a block.
constexpr std::uintptr_t packedFlag = 1;
constexpr unsigned packedBits = 21;
constexpr std::uintptr_t packedMask = (std::uintptr_t{1} << packedBits) - 1;

bool packable(NumberSyntax s) {
    return s.decimal <= packedMask && s.thousands <= packedMask;
}

std::uintptr_t pack(NumberSyntax s) {
    if (s == NumberSyntax{}) return 0;
    return std::uintptr_t{s.decimal} << 1 | std::uintptr_t{s.thousands} << (packedBits + 1) |
           packedFlag;
}

NumberSyntax unpack(std::uintptr_t bits) {
    if (bits == 0) return {};
    return {static_cast<char32_t>((bits >> 1) & packedMask),
            static_cast<char32_t>((bits >> (packedBits + 1)) & packedMask)};
}

} // namespace

Attributes::~Attributes() {
    release();
}

Attributes::Data* Attributes::data() const {
    if (bits_ == 0 || (bits_ & packedFlag) != 0) return nullptr;
    return reinterpret_cast<Data*>(bits_);
}

Attributes::Data& Attributes::ensureData() {
    if (Data* d = data()) return *d;
    auto d = std::make_unique<Data>();
    d->syntax = unpack(bits_);
    bits_ = reinterpret_cast<std::uintptr_t>(d.release());
    return *data();
}

void Attributes::release() {
    delete data();
    bits_ = 0;
}

Attributes& Attributes::operator=(Attributes&& other) noexcept {
    if (this != &other) {
        release();
        bits_ = std::exchange(other.bits_, 0);
    }
    return *this;
}

// A copy takes the names and values (and an index when the original has one), not the number
// syntax, which stays the one the copy was made with.
Attributes::Attributes(const Attributes& other) {
    const Data* from = other.data();
    if (from && !from->items.empty()) {
        ensureData().items = from->items;
        if (from->index) buildIndex();
    }
}

Attributes& Attributes::operator=(const Attributes& other) {
    if (this == &other) return *this;
    const Data* from = other.data();
    if (!from || from->items.empty()) {
        if (Data* d = data()) {
            const NumberSyntax kept = d->syntax;
            release();
            setNumberSyntax(kept);
        }
        return *this;
    }
    Data& d = ensureData();
    d.items = from->items;
    d.index.reset();
    if (from->index) buildIndex();
    return *this;
}

void Attributes::setNumberSyntax(NumberSyntax syntax) {
    if (Data* d = data()) {
        d->syntax = syntax;
    } else if (packable(syntax)) {
        bits_ = pack(syntax);
    } else {
        bits_ = 0;
        ensureData().syntax = syntax;
    }
}

NumberSyntax Attributes::numberSyntax() const {
    if (const Data* d = data()) return d->syntax;
    return unpack(bits_);
}

const std::vector<std::pair<std::string, std::string>>& Attributes::items() const {
    static const Items none;
    const Data* d = data();
    return d ? d->items : none;
}

void Attributes::buildIndex() {
    Data& d = *data();
    d.index = std::make_unique<Index>();
    d.index->reserve(d.items.size() * 2);
    for (std::size_t i = 0; i < d.items.size(); ++i)
        d.index->emplace(d.items[i].first, i);
}

std::size_t Attributes::position(std::string_view lowerName) const {
    const Data* d = data();
    if (!d) return 0;
    if (d->index) {
        const auto found = d->index->find(std::string(lowerName));
        return found == d->index->end() ? d->items.size() : found->second;
    }
    for (std::size_t i = 0; i < d->items.size(); ++i)
        if (d->items[i].first == lowerName) return i;
    return d->items.size();
}

void Attributes::set(std::string_view name, std::string value) {
    std::string key = lowerAscii(name);
    Data& d = ensureData();
    const std::size_t at = position(key);
    if (at < d.items.size()) {
        d.items[at].second = std::move(value);
        return;
    }
    if (d.index) d.index->emplace(key, d.items.size());
    d.items.emplace_back(std::move(key), std::move(value));
    if (!d.index && d.items.size() > indexThreshold) buildIndex();
}

const std::string* Attributes::find(std::string_view lowerName) const {
    const Data* d = data();
    if (!d) return nullptr;
    const std::size_t at = position(lowerName);
    return at < d->items.size() ? &d->items[at].second : nullptr;
}

std::string Attributes::text(std::string_view lowerName, std::string_view fallback) const {
    const std::string* v = find(lowerName);
    return v ? *v : std::string(fallback);
}

double Attributes::number(std::string_view lowerName, double fallback) const {
    return optionalNumber(lowerName).value_or(fallback);
}

std::optional<double> Attributes::optionalNumber(std::string_view lowerName) const {
    const std::string* v = find(lowerName);
    if (!v) return std::nullopt;
    return parseNumber(*v, numberSyntax());
}

bool Attributes::flag(std::string_view lowerName, bool fallback) const {
    const std::string* v = find(lowerName);
    if (!v) return fallback;
    std::string_view t = trimSpace(*v);
    if (t == "1" || equalsNoCase(t, "true") || equalsNoCase(t, "yes")) return true;
    if (t == "0" || equalsNoCase(t, "false") || equalsNoCase(t, "no")) return false;
    return fallback;
}

} // namespace plotara::player

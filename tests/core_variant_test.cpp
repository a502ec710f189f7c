// Variants (copies, types, equality, conversions) and the arrays they carry.
#include "core/Dispatch.h"
#include "core/SafeArray.h"
#include "core/Variant.h"
#include "tests/core_test_support.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace plotara {
namespace {

using test::errorOf;

class Nothing : public Dispatch {
public:
    Long idOfName(const String&) const override { raise(errors::notSupported()); }
    Variant invoke(Long, InvokeKind, std::vector<Variant>&) override {
        raise(errors::notSupported());
    }
};

TEST(CoreVariant, CopiesOwnTheirArrayAndShareTheirObject) {
    Variant original(SafeArray::of({Variant(1), Variant(L"a")}));
    Variant copy = original;
    copy.array().at(0) = Variant(99);
    EXPECT_EQ(original.array().at(0), Variant(1));
    EXPECT_EQ(copy.array().at(0), Variant(99));

    Variant assigned;
    assigned = original;
    original.array().at(1) = Variant(L"b");
    EXPECT_EQ(assigned.array().at(1), Variant(L"a"));

    Variant moved = std::move(copy);
    EXPECT_EQ(moved.array().at(0), Variant(99));
    auto object = std::make_shared<Nothing>();
    const Variant a{std::shared_ptr<Dispatch>(object)};
    Variant b = a;
    EXPECT_EQ(b.asObject().get(), object.get());
    EXPECT_EQ(a, b);
    EXPECT_NE(a, Variant(std::shared_ptr<Dispatch>(std::make_shared<Nothing>())));
    EXPECT_EQ(errorOf([] { Variant(1).asObject(); }), 424);
}

TEST(CoreVariant, TypesAndEquality) {
    EXPECT_EQ(Variant().type(), Variant::Type::Empty);
    EXPECT_EQ(Variant::null().type(), Variant::Type::Null);
    EXPECT_EQ(Variant::missing().type(), Variant::Type::Missing);
    EXPECT_EQ(Variant(Integer{1}).type(), Variant::Type::Integer);
    EXPECT_EQ(Variant(1).type(), Variant::Type::Long);
    EXPECT_EQ(Variant(1.0f).type(), Variant::Type::Single);
    EXPECT_EQ(Variant(L"x").type(), Variant::Type::String);
    EXPECT_TRUE(Variant(true).isNumeric());
    EXPECT_FALSE(Variant(L"1").isNumeric());

    EXPECT_NE(Variant(1), Variant(Integer{1})); // same value, different type
    EXPECT_NE(Variant(), Variant::null());
    EXPECT_EQ(Variant(L"a"), Variant(String(L"a")));
    EXPECT_EQ(Variant(SafeArray::of({Variant(1)})), Variant(SafeArray::of({Variant(1)})));
    EXPECT_NE(Variant(SafeArray::of({Variant(1)})), Variant(SafeArray::of({Variant(1)}, 1)));
    EXPECT_EQ(errorOf([] { Variant(1).array(); }), 13);
}

TEST(CoreVariant, ToText) {
    EXPECT_EQ(toText(Variant()), L"");
    EXPECT_EQ(toText(Variant(true)), L"True");
    EXPECT_EQ(toText(Variant(false)), L"False");
    EXPECT_EQ(toText(Variant(Integer{-5})), L"-5");
    EXPECT_EQ(toText(Variant(-2147483647 - 1)), L"-2147483648");
    EXPECT_EQ(toText(Variant(0.1f)), L"0.1");
    EXPECT_EQ(toText(Variant(1e15)), L"1E+15");
    EXPECT_EQ(toText(Variant(L" x ")), L" x ");
    EXPECT_EQ(Variant(2.5).asString(), L"2.5");
    EXPECT_EQ(errorOf([] { toText(Variant::null()); }), 94);
    EXPECT_EQ(errorOf([] { toText(Variant::missing()); }), 13);
    EXPECT_EQ(errorOf([] { toText(Variant(SafeArray::of({}))); }), 13);
    EXPECT_EQ(errorOf([] { toText(Variant(std::shared_ptr<Dispatch>())); }), 13);
}

TEST(CoreVariant, AsBool) {
    const struct {
        Variant value;
        bool result;
    } cases[] = {
        {Variant(), false},           {Variant(0), false},      {Variant(0.1), true},
        {Variant(Integer{-1}), true}, {Variant(L"true"), true}, {Variant(L"FALSE"), false},
        {Variant(L" True "), true},   {Variant(L"0"), false},   {Variant(L"-2.5"), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value.asBool(), c.result) << toUtf8(toText(c.value));
    EXPECT_EQ(errorOf([] { Variant(L"yes").asBool(); }), 13);
    EXPECT_EQ(errorOf([] { Variant::null().asBool(); }), 94);
    EXPECT_EQ(errorOf([] { Variant::missing().asBool(); }), 13);
}

TEST(CoreVariant, NumericConversions) {
    EXPECT_EQ(Variant(2.5).asInteger(), 2);
    EXPECT_EQ(Variant(L"3.5").asInteger(), 4);
    EXPECT_EQ(Variant(true).asInteger(), -1);
    EXPECT_EQ(Variant().asLong(), 0);
    EXPECT_EQ(Variant(Integer{-7}).asLong(), -7);
    EXPECT_EQ(Variant(L"&H10").asLong(), 16);
    EXPECT_EQ(Variant(0.1f).asDouble(), static_cast<double>(0.1f));
    EXPECT_EQ(Variant(L" 1e3 ").asDouble(), 1000);

    const struct {
        std::function<void()> conversion;
        Long error;
    } failures[] = {
        {[] { Variant(40000).asInteger(); }, 6},
        {[] { Variant(1e10).asLong(); }, 6},
        {[] { Variant(L"abc").asDouble(); }, 13},
        {[] { Variant(L"").asInteger(); }, 13},
        {[] { Variant::null().asDouble(); }, 94},
        {[] { Variant::missing().asLong(); }, 13},
        {[] { Variant(std::shared_ptr<Dispatch>()).asInteger(); }, 13},
        {[] { Variant(SafeArray::of({})).asDouble(); }, 13},
    };
    for (std::size_t i = 0; i < std::size(failures); ++i)
        EXPECT_EQ(errorOf(failures[i].conversion), failures[i].error) << "case " << i;
}

using Bound = SafeArray::Bound;

TEST(CoreSafeArray, ConstructionChecksBounds) {
    EXPECT_EQ(errorOf([] { SafeArray({}); }), 5);
    EXPECT_EQ(errorOf([] { SafeArray({Bound{0, -1}}); }), 5);
    EXPECT_EQ(errorOf([] { SafeArray({Bound{0, 2}, Bound{0, -1}}); }), 5);
    EXPECT_EQ(errorOf([] { SafeArray({Bound{INT_MAX, 2}}); }), 5); // upper bound past Long
    const SafeArray empty({Bound{0, 0}});
    EXPECT_EQ(empty.size(), 0u);
    EXPECT_EQ(empty.ubound(), -1);
    EXPECT_EQ(errorOf([&] { empty.at(0); }), 9);
}

TEST(CoreSafeArray, LowerBoundsOneAndNegative) {
    SafeArray a({Bound{1, 3}});
    EXPECT_EQ(a.lbound(), 1);
    EXPECT_EQ(a.ubound(), 3);
    EXPECT_TRUE(a.at(1).isEmpty());
    a.at(3) = Variant(L"last");
    EXPECT_EQ(a.at(3), Variant(L"last"));
    EXPECT_EQ(errorOf([&] { a.at(0); }), 9);
    EXPECT_EQ(errorOf([&] { a.at(4); }), 9);
    EXPECT_EQ(errorOf([&] { a.lbound(0); }), 9);
    EXPECT_EQ(errorOf([&] { a.ubound(2); }), 9);
    const SafeArray b = SafeArray::of({Variant(1), Variant(2), Variant(3)}, -2);
    EXPECT_EQ(b.lbound(), -2);
    EXPECT_EQ(b.ubound(), 0);
    EXPECT_EQ(b.at(-2), Variant(1));
    EXPECT_EQ(b.at(0), Variant(3));
    EXPECT_EQ(errorOf([&] { b.at(-3); }), 9);
    EXPECT_EQ(errorOf([&] { b.at(1); }), 9);
}

TEST(CoreSafeArray, TwoDimensionsPadRaggedRowsAndEqualityNeedsEqualBounds) {
    const SafeArray a = SafeArray::of2D({{Variant(1), Variant(2), Variant(3)}, {Variant(4)}}, 1, 0);
    EXPECT_EQ(a.dimensions(), 2);
    EXPECT_EQ(a.size(), 6u);
    EXPECT_EQ(a.lbound(1), 1);
    EXPECT_EQ(a.ubound(1), 2);
    EXPECT_EQ(a.lbound(2), 0);
    EXPECT_EQ(a.ubound(2), 2);
    EXPECT_EQ(a.at(1, 1), Variant(2));
    EXPECT_EQ(a.at(2, 0), Variant(4));
    EXPECT_TRUE(a.at(2, 2).isEmpty());
    EXPECT_EQ(a.at({1, 2}), Variant(3));
    EXPECT_EQ(errorOf([&] { a.at(1); }), 9);         // too few indices
    EXPECT_EQ(errorOf([&] { a.at({1, 0, 0}); }), 9); // too many
    EXPECT_EQ(errorOf([&] { a.at(0, 0); }), 9);
    EXPECT_EQ(errorOf([&] { a.at(1, 3); }), 9);
    EXPECT_EQ(errorOf([] { SafeArray::of({Variant(1)}).at(0, 0); }), 9);

    const SafeArray none = SafeArray::of2D({});
    EXPECT_EQ(none.dimensions(), 2);
    EXPECT_EQ(none.ubound(1), -1);
    EXPECT_EQ(none.ubound(2), -1);
    const SafeArray row = SafeArray::of2D({{Variant(1), Variant(2)}});
    EXPECT_EQ(row, SafeArray::of2D({{Variant(1), Variant(2)}}));
    EXPECT_FALSE(row == SafeArray::of({Variant(1), Variant(2)}));
    EXPECT_FALSE(row == SafeArray::of2D({{Variant(1)}, {Variant(2)}}));
    EXPECT_FALSE(row == SafeArray::of2D({{Variant(1), Variant(3)}}));
}

TEST(CoreSafeArray, EveryIndexReachesItsOwnElement) {
    SafeArray a({Bound{-1, 2}, Bound{1, 3}, Bound{0, 2}});
    Long n = 0;
    for (Long i = -1; i <= 0; ++i)
        for (Long j = 1; j <= 3; ++j)
            for (Long k = 0; k <= 1; ++k)
                a.at({i, j, k}) = Variant(n++);
    n = 0;
    for (Long i = -1; i <= 0; ++i)
        for (Long j = 1; j <= 3; ++j)
            for (Long k = 0; k <= 1; ++k)
                EXPECT_EQ(a.at({i, j, k}), Variant(n++));
}

} // namespace
} // namespace plotara

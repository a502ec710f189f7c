#include "core/SafeArray.h"
#include "tests/core_test_support.h"

#include <gtest/gtest.h>

#include <climits>

namespace plotara {
namespace {

using test::errorOf;
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

TEST(CoreSafeArray, LowerBoundOne) {
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
}

TEST(CoreSafeArray, NegativeLowerBound) {
    const SafeArray a = SafeArray::of({Variant(1), Variant(2), Variant(3)}, -2);
    EXPECT_EQ(a.lbound(), -2);
    EXPECT_EQ(a.ubound(), 0);
    EXPECT_EQ(a.at(-2), Variant(1));
    EXPECT_EQ(a.at(0), Variant(3));
    EXPECT_EQ(errorOf([&] { a.at(-3); }), 9);
    EXPECT_EQ(errorOf([&] { a.at(1); }), 9);
}

TEST(CoreSafeArray, TwoDimensionsPadRaggedRows) {
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

TEST(CoreSafeArray, EqualityNeedsEqualBounds) {
    const SafeArray a = SafeArray::of2D({{Variant(1), Variant(2)}});
    EXPECT_EQ(a, SafeArray::of2D({{Variant(1), Variant(2)}}));
    EXPECT_FALSE(a == SafeArray::of({Variant(1), Variant(2)}));
    EXPECT_FALSE(a == SafeArray::of2D({{Variant(1)}, {Variant(2)}}));
    EXPECT_FALSE(a == SafeArray::of2D({{Variant(1), Variant(3)}}));
}

} // namespace
} // namespace plotara

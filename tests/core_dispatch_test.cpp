// Run-time errors and their traps, and late binding through a dispatch table.
#include "core/DispatchTable.h"
#include "core/Error.h"
#include "core/ErrorTrap.h"
#include "tests/core_test_support.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace plotara {
namespace {

using test::errorOf;

// A small late-bound class: a method with a required and an optional argument, a method whose
// optional argument has no default, a by-reference argument, and read-write, read-only and
// write-only properties.
class Counter : public Dispatch {
public:
    Long idOfName(const String& name) const override { return table().idOfName(name); }
    Variant invoke(Long dispId, InvokeKind kind, std::vector<Variant>& args) override {
        return table().invoke(*this, dispId, kind, args);
    }
    static const DispatchTable<Counter>& table() {
        static const DispatchTable<Counter> members = [] {
            DispatchTable<Counter> t;
            t.method(L"Add", 1, {{L"a"}, {L"b", true, Variant(10)}},
                     [](Counter&, DispatchArgs& args) {
                         return Variant(args[0].asLong() + args[1].asLong());
                     })
                .method(L"IsGiven", 2, {{L"value", true}},
                        [](Counter&, DispatchArgs& args) { return Variant(!args[0].isMissing()); })
                .method(L"Double", 3, {{L"value"}},
                        [](Counter&, DispatchArgs& args) {
                            args.ref(0) = Variant(args[0].asLong() * 2);
                            return Variant();
                        })
                .method(L"Fail", 4, {},
                        [](Counter&, DispatchArgs&) -> Variant {
                            raise(errors::component(7, L"failed"));
                        })
                .property(
                    L"Value", 5, [](Counter& self) { return Variant(self.value); },
                    [](Counter& self, const Variant& v) { self.value = v.asLong(); })
                .property(L"Name", 6, [](Counter&) { return Variant(L"counter"); })
                .property(L"Secret", 7, nullptr, [](Counter&, const Variant&) {});
            return t;
        }();
        return members;
    }
    Long value = 0;
};

Variant call(Counter& c, const wchar_t* name, std::vector<Variant> args = {},
             InvokeKind kind = InvokeKind::Method) {
    return callByName(c, name, kind, std::move(args));
}

TEST(CoreDispatch, NamesMatchCaseInsensitively) {
    Counter c;
    EXPECT_EQ(c.idOfName(L"add"), 1);
    EXPECT_EQ(c.idOfName(L"VALUE"), 5);
    EXPECT_EQ(Counter::table().nameOf(5), L"Value");
    EXPECT_EQ(Counter::table().dispIds(), (std::vector<Long>{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(errorOf([&] { c.idOfName(L"Subtract"); }), 438);
    std::vector<Variant> none;
    EXPECT_EQ(errorOf([&] { c.invoke(99, InvokeKind::Method, none); }), 438);
}

TEST(CoreDispatch, OptionalArgumentsTakeTheirDefaults) {
    Counter c;
    EXPECT_EQ(call(c, L"Add", {Variant(1)}), Variant(11));
    EXPECT_EQ(call(c, L"Add", {Variant(1), Variant(2)}), Variant(3));
    EXPECT_EQ(call(c, L"Add", {Variant(1), Variant::missing()}), Variant(11));
    EXPECT_EQ(call(c, L"Add", {Variant(1)}, InvokeKind::PropertyGet), Variant(11));
    EXPECT_EQ(call(c, L"IsGiven"), Variant(false)); // no default: stays missing
    EXPECT_EQ(call(c, L"IsGiven", {Variant(0)}), Variant(true));
}

TEST(CoreDispatch, ArgumentCountErrors) {
    Counter c;
    EXPECT_EQ(errorOf([&] { call(c, L"Add"); }), 449);
    EXPECT_EQ(errorOf([&] { call(c, L"Add", {Variant::missing(), Variant(2)}); }), 449);
    EXPECT_EQ(errorOf([&] { call(c, L"Add", {Variant(1), Variant(2), Variant(3)}); }), 450);
    EXPECT_EQ(errorOf([&] { call(c, L"Add", {Variant(1)}, InvokeKind::PropertyPut); }), 438);
}

TEST(CoreDispatch, ArgumentsPassByReferenceAndMemberErrorsPassThrough) {
    Counter c;
    std::vector<Variant> args{Variant(21)};
    c.invoke(c.idOfName(L"Double"), InvokeKind::Method, args);
    EXPECT_EQ(args[0], Variant(42));
    EXPECT_EQ(errorOf([&] { call(c, L"Fail"); }), objectErrorBase + 7);
}

TEST(CoreDispatch, Properties) {
    Counter c;
    call(c, L"value", {Variant(L"12")}, InvokeKind::PropertyPut);
    EXPECT_EQ(c.value, 12);
    EXPECT_EQ(call(c, L"Value", {}, InvokeKind::PropertyGet), Variant(12));
    EXPECT_EQ(call(c, L"Value"), Variant(12)); // a method call without arguments reads
    call(c, L"Value", {Variant(3)}, InvokeKind::PropertyPutRef);
    EXPECT_EQ(c.value, 3);

    const struct {
        const wchar_t* name;
        std::vector<Variant> args;
        InvokeKind kind;
        Long error;
    } failures[] = {
        {L"Name", {Variant(L"x")}, InvokeKind::PropertyPut, 438}, // read-only
        {L"Secret", {}, InvokeKind::PropertyGet, 438},            // write-only
        {L"Value", {Variant(1)}, InvokeKind::PropertyGet, 450},
        {L"Value", {Variant(1), Variant(2)}, InvokeKind::PropertyPut, 450},
        {L"Value", {}, InvokeKind::PropertyPut, 450},
        {L"Value", {Variant::missing()}, InvokeKind::PropertyPut, 449},
        {L"Value", {Variant(1)}, InvokeKind::Method, 438},
        {L"Value", {Variant(L"x")}, InvokeKind::PropertyPut, 13}, // the setter's own error
    };
    for (const auto& f : failures)
        EXPECT_EQ(errorOf([&] { call(c, f.name, f.args, f.kind); }), f.error)
            << toUtf8(f.name) << " kind " << static_cast<int>(f.kind);
    EXPECT_EQ(c.value, 3);
}

TEST(CoreError, ComponentErrorsAreOffsetFromTheObjectBaseAndTrapsTakeOnlyRunTimeErrors) {
    const Error e = errors::component(513, L"Größe");
    EXPECT_EQ(e.number(), objectErrorBase + 513);
    EXPECT_LT(e.number(), 0); // the base has the top bit set
    EXPECT_STREQ(e.what(), "Gr\xC3\xB6\xC3\x9F"
                           "e");
    EXPECT_THROW(raise(e), Error);
    int reached = 0;
    EXPECT_FALSE(ErrorTrap::resume([] { raise(errors::overflow()); }));
    EXPECT_TRUE(ErrorTrap::resume([&] { ++reached; }));
    EXPECT_EQ(reached, 1);
    EXPECT_THROW(ErrorTrap::resume([] { throw std::runtime_error("x"); }), std::runtime_error);
    EXPECT_THROW(ErrorTrap::capture([] { throw std::runtime_error("x"); }), std::runtime_error);
}

} // namespace
} // namespace plotara

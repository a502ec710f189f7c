// Test doubles that fail on purpose, for the fault injection tests: a movie host whose every
// member raises once armed, and a property bag that raises after a number of reads or writes.
#pragma once

#include "core/Error.h"
#include "platform/MemoryPropertyBag.h"
#include "platform/MovieHost.h"

#include <optional>

namespace plotara::test {

// The error every failing double raises.
inline Error injectedFault() {
    return Error(1001, L"injected fault", L"FaultDouble");
}

// A movie host that works until armed and then raises on every member, as a crashed or missing
// player would.
class FailingMovieHost final : public MovieHost {
public:
    bool armed = false;
    int calls = 0; // members called while armed

    void applySettings(const MovieHostSettings&) override { fail(); }
    void put_Movie(const String&) override { fail(); }
    String get_Movie() const override { return failing(String()); }
    void put_BGColor(const String&) override { fail(); }
    void put_Menu(bool) override { fail(); }
    Single get_Width() const override { return failing(Single{320}); }
    void put_Width(Single) override { fail(); }
    Single get_Height() const override { return failing(Single{240}); }
    void put_Height(Single) override { fail(); }
    String CallFunction(const String&) override { return failing(String()); }
    void onFlashCall(std::function<void(const String&)>) override { fail(); }

private:
    void fail() const {
        if (!armed) return;
        ++const_cast<FailingMovieHost*>(this)->calls;
        raise(injectedFault());
    }
    template <class T>
    T failing(T value) const {
        fail();
        return value;
    }
};

// A property bag over a memory bag that raises on the read or write after the first n ones.
class FailingPropertyBag final : public PropertyBag {
public:
    MemoryPropertyBag inner;
    std::optional<int> readsBeforeFault, writesBeforeFault;
    int reads = 0, writes = 0; // the ones that succeeded

    Variant ReadProperty(const String& name, const Variant& defaultValue) override {
        if (readsBeforeFault && reads >= *readsBeforeFault) raise(injectedFault());
        ++reads;
        return inner.ReadProperty(name, defaultValue);
    }
    void WriteProperty(const String& name, const Variant& value,
                       const Variant& defaultValue) override {
        if (writesBeforeFault && writes >= *writesBeforeFault) raise(injectedFault());
        ++writes;
        inner.WriteProperty(name, value, defaultValue);
    }
};

} // namespace plotara::test

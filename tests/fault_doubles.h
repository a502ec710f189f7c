// Test doubles that fail on purpose, for the fault injection tests: a movie host whose every
// member raises once armed, and a property bag that journals its calls and raises at a name or
// after a number of reads or writes.
#pragma once

#include "core/Error.h"
#include "platform/Container.h"
#include "platform/MemoryPropertyBag.h"
#include "platform/MovieHost.h"

#include <optional>
#include <vector>

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

// A property bag over a memory bag that journals every read and write ("read Border", "write
// Border") and raises on the one of the name failAt, or on the one after the first n.
class FailingPropertyBag final : public PropertyBag {
public:
    MemoryPropertyBag inner;
    std::vector<String> journal;
    String failAt;
    std::optional<int> readsBeforeFault, writesBeforeFault;
    int reads = 0, writes = 0; // the ones that succeeded

    Variant ReadProperty(const String& name, const Variant& defaultValue) override {
        journal.push_back(L"read " + name);
        if (name == failAt || (readsBeforeFault && reads >= *readsBeforeFault))
            raise(injectedFault());
        ++reads;
        return inner.ReadProperty(name, defaultValue);
    }
    void WriteProperty(const String& name, const Variant& value,
                       const Variant& defaultValue) override {
        journal.push_back(L"write " + name);
        if (name == failAt || (writesBeforeFault && writes >= *writesBeforeFault))
            raise(injectedFault());
        ++writes;
        inner.WriteProperty(name, value, defaultValue);
    }
};

// A container whose property-changed notifications raise once armed; everything else goes to
// the container it wraps.
class FailingNotifications final : public Container {
public:
    explicit FailingNotifications(Container& inner) : inner_(inner) {}
    bool armed = false;
    int failed = 0; // notifications that raised

    void propertyChanged(const String& key) override {
        if (armed) {
            ++failed;
            raise(injectedFault());
        }
        inner_.propertyChanged(key);
    }
    bool ambientUserMode() const override { return inner_.ambientUserMode(); }
    String ambientDisplayName() const override { return inner_.ambientDisplayName(); }
    bool extenderVisible() const override { return inner_.extenderVisible(); }
    bool enabled() const override { return inner_.enabled(); }
    void setEnabled(bool on) override { inner_.setEnabled(on); }
    Integer borderStyle() const override { return inner_.borderStyle(); }
    void setBorderStyle(Integer style) override { inner_.setBorderStyle(style); }
    Integer appearance() const override { return inner_.appearance(); }
    void setAppearance(Integer look) override { inner_.setAppearance(look); }
    Single height() const override { return inner_.height(); }
    void setHeight(Single h) override { inner_.setHeight(h); }
    Single scaleWidth() const override { return inner_.scaleWidth(); }
    Single scaleHeight() const override { return inner_.scaleHeight(); }
    void setScaleWidth(Single w) override { inner_.setScaleWidth(w); }
    void setScaleHeight(Single h) override { inner_.setScaleHeight(h); }
    Integer scaleMode() const override { return inner_.scaleMode(); }
    void setScaleMode(Integer mode) override { inner_.setScaleMode(mode); }
    Long hWnd() const override { return inner_.hWnd(); }
    void refresh() override { inner_.refresh(); }
    void raiseEvent(PlotaraEvent event, const std::vector<Variant>& args) override {
        inner_.raiseEvent(event, args);
    }
    Long messageBox(const String& text, Long buttonsAndIcon, const String& caption) override {
        return inner_.messageBox(text, buttonsAndIcon, caption);
    }

private:
    Container& inner_;
};

} // namespace plotara::test

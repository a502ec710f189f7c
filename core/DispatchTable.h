// The member table behind a Dispatch implementation: names, dispatch ids, parameter lists with
// their defaults, and one handler per member. A class keeps one static table and forwards its
// idOfName and invoke to it.
#pragma once

#include "core/Dispatch.h"
#include "core/Text.h"

#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace plotara {

struct DispatchParam {
    String name;
    bool optional = false;
    Variant defaultValue = Variant::missing(); // what an omitted optional argument becomes
};

// The arguments of one call after omitted optional ones were filled with their defaults.
class DispatchArgs {
public:
    explicit DispatchArgs(std::vector<Variant>& values) : values_(values) {}
    std::size_t size() const noexcept { return values_.size(); }
    const Variant& operator[](std::size_t i) const { return values_.at(i); }
    // By-reference arguments: the member may write back into the caller's Variant.
    Variant& ref(std::size_t i) { return values_.at(i); }
    // The run-time's coercion of an argument to a String parameter (Error 94 for Null).
    String text(std::size_t i) const { return toText(values_.at(i)); }

private:
    std::vector<Variant>& values_;
};

template <class Self>
class DispatchTable {
public:
    using Method = std::function<Variant(Self&, DispatchArgs&)>;
    using Getter = std::function<Variant(Self&)>;
    using Setter = std::function<void(Self&, const Variant&)>;

    // A method; also callable as a property get, as late-bound callers often do for functions.
    DispatchTable& method(String name, Long dispId, std::vector<DispatchParam> params,
                          Method body) {
        Member& m = add(std::move(name), dispId);
        m.params = std::move(params);
        m.body = std::move(body);
        return *this;
    }
    // A property with a getter and, unless null, a setter (put and put-by-reference alike); a null
    // getter makes it write-only.
    DispatchTable& property(String name, Long dispId, Getter get, Setter put = nullptr) {
        Member& m = add(std::move(name), dispId);
        m.get = std::move(get);
        m.put = std::move(put);
        return *this;
    }

    // Error 438 when no member has the name (compared case-insensitively).
    Long idOfName(const String& name) const {
        auto found = byName_.find(text::toLower(name));
        if (found == byName_.end()) raise(errors::notSupported());
        return members_[found->second].dispId;
    }

    // The member's declared name, for tools that list an object's members.
    const String& nameOf(Long dispId) const { return member(dispId).name; }
    std::vector<Long> dispIds() const {
        std::vector<Long> ids;
        for (const Member& m : members_)
            ids.push_back(m.dispId);
        return ids;
    }

    Variant invoke(Self& self, Long dispId, InvokeKind kind, std::vector<Variant>& args) const {
        const Member& m = member(dispId);
        if (m.body) {
            if (kind != InvokeKind::Method && kind != InvokeKind::PropertyGet)
                raise(errors::notSupported());
            if (args.size() > m.params.size()) raise(errors::wrongArgumentCount());
            for (std::size_t i = 0; i < m.params.size(); ++i) {
                if (i >= args.size()) args.push_back(Variant::missing());
                if (!args[i].isMissing()) continue;
                if (!m.params[i].optional) raise(errors::argumentNotOptional());
                args[i] = m.params[i].defaultValue;
            }
            DispatchArgs callArgs(args);
            return m.body(self, callArgs);
        }
        if (kind == InvokeKind::PropertyGet || (kind == InvokeKind::Method && args.empty())) {
            if (!m.get) raise(errors::notSupported()); // a write-only property
            if (!args.empty()) raise(errors::wrongArgumentCount());
            return m.get(self);
        }
        if (kind == InvokeKind::Method || !m.put) raise(errors::notSupported());
        if (args.size() != 1) raise(errors::wrongArgumentCount());
        if (args[0].isMissing()) raise(errors::argumentNotOptional());
        m.put(self, args[0]);
        return Variant();
    }

private:
    struct Member {
        String name;
        Long dispId = 0;
        std::vector<DispatchParam> params;
        Method body;
        Getter get;
        Setter put;
    };

    Member& add(String name, Long dispId) {
        byName_[text::toLower(name)] = members_.size();
        byId_[dispId] = members_.size();
        members_.push_back(Member{std::move(name), dispId, {}, {}, {}, {}});
        return members_.back();
    }
    const Member& member(Long dispId) const {
        auto found = byId_.find(dispId);
        if (found == byId_.end()) raise(errors::notSupported());
        return members_[found->second];
    }

    std::vector<Member> members_;
    std::unordered_map<String, std::size_t> byName_;
    std::unordered_map<Long, std::size_t> byId_;
};

} // namespace plotara

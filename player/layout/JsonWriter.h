// A small JSON writer for the layout dump: one call per kind of value, commas and the line
// breaks of the dump's layout put in by the writer. Texts are escaped, never trusted.
#pragma once

#include "player/draw/Geometry.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plotara::player {

class JsonWriter {
public:
    // Where a member or list element starts: on the same line, or on a line of its own.
    enum class Line : bool { Same, Own };

    JsonWriter() = default;
    // Writes on after `before` (the page around the JSON, say), which text() then starts with.
    // Cannot fail.
    explicit JsonWriter(std::string before) : out_(std::move(before)) {}

    // The document written so far. Cannot fail.
    const std::string& text() const { return out_; }
    // Hands the text over; the writer is empty after. Cannot fail.
    std::string take() { return std::move(out_); }

    // Starts a member of the open object; the next call writes its value. Cannot fail.
    JsonWriter& key(const char* name, Line line = Line::Same);
    // A text value. Cannot fail.
    void string(const std::string& s);
    // The shortest text that reads back as the same double; null for NaN and infinities.
    // Cannot fail.
    void number(double v);
    // A count. Cannot fail.
    void count(std::size_t n);
    // true or false. Cannot fail.
    void boolean(bool b);
    // null. Cannot fail.
    void null();
    // A rectangle as [x, y, w, h], screen coordinates to a hundredth of a pixel. Cannot fail.
    void box(const Rect& r);

    // An object whose members `body` writes. Cannot fail.
    template <class Body>
    void object(Body&& body) {
        open('{');
        body();
        close('}');
    }
    // An array of `items`, each written by `each(item)`, each on a line of its own or not.
    // Cannot fail.
    template <class Items, class Each>
    void list(const Items& items, Line line, Each&& each) {
        open('[');
        for (const auto& item : items) {
            elementLine_ = line;
            each(item);
        }
        close(']');
    }
    // An array of numbers on one line, each as number() writes it, built in one piece: a
    // dense page's coordinates. Cannot fail.
    void numberList(std::span<const double> values);
    // An array of texts on one line, each as string() writes it, built in one piece: a dense
    // page's labels and values. Cannot fail.
    void stringList(std::span<const std::string_view> texts);
    // From now on also writes < > & and the line and paragraph separators U+2028 and U+2029 as
    // \u escapes, so the text can stand inside an HTML <script> element. Cannot fail.
    void setScriptSafe(bool on) { scriptSafe_ = on; }
    // Ends the document with a line break. Cannot fail.
    void endLine() { out_ += '\n'; }

private:
    void valueStart();
    void open(char bracket);
    void close(char bracket);
    void escaped(std::string_view s);
    void escapedByte(std::string_view s, std::size_t& i);

    std::string out_;
    std::vector<char> first_; // per open container: nothing written in it yet
    bool afterKey_ = false;   // the next value belongs to the key just written
    Line elementLine_ = Line::Same;
    bool scriptSafe_ = false;
};

} // namespace plotara::player

#include "player/draw/SvgText.h"

#include "player/draw/SvgMarkup.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace plotara::player {

namespace {

bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Whether a family name can stand unquoted: words of letters, digits, '-' and '_' that start
// with a letter, and not one of the generic families or CSS keywords.
bool plainFamily(std::string_view family) {
    static constexpr std::string_view reserved[] = {"serif",   "sans-serif", "monospace", "cursive",
                                                    "fantasy", "system-ui",  "inherit",   "initial",
                                                    "unset",   "default",    "revert"};
    for (std::string_view r : reserved) {
        if (family == r) return false;
    }
    bool wordStart = true;
    for (char c : family) {
        if (c == ' ') {
            if (wordStart) return false;
            wordStart = true;
        } else if (wordStart
                       ? !isAsciiLetter(c)
                       : !(isAsciiLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_')) {
            return false;
        } else {
            wordStart = false;
        }
    }
    return !wordStart;
}

} // namespace

std::string svgFontFamily(std::string_view family) {
    if (family.empty()) family = "DejaVu Sans";
    std::string css;
    if (plainFamily(family)) {
        css = family;
    } else {
        css.push_back('\'');
        for (char c : family) {
            if (c == '\'' || c == '\\') css += '\\';
            css += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? ' ' : c;
        }
        css += '\'';
    }
    if (family.find("Mono") != std::string_view::npos)
        css += ", monospace";
    else if (family.find("Serif") != std::string_view::npos)
        css += ", serif";
    else
        css += ", sans-serif";
    return css;
}

void appendSvgText(std::string& out, const TextItem& item, TextEngine& engine) {
    if (item.text.empty()) return;
    const Size size = engine.measure(item);
    const double ax = item.h == HAlign::Left ? 0 : item.h == HAlign::Center ? size.w / 2 : size.w;
    const double ay = item.v == VAlign::Top ? 0 : item.v == VAlign::Middle ? size.h / 2 : size.h;
    out += "<text x=\"";
    appendSvgNumber(out, item.x - ax);
    out += "\" y=\"";
    appendSvgNumber(out, item.y - ay + size.h * svgAscentShare);
    out += '"';
    if (item.angle != 0 && std::isfinite(item.angle)) {
        out += " transform=\"rotate(";
        appendSvgNumber(out, item.angle, 3);
        out += ' ';
        appendSvgNumber(out, item.x);
        out += ' ';
        appendSvgNumber(out, item.y);
        out += ")\"";
    }
    out += " font-family=\"";
    appendXmlText(out, svgFontFamily(engine.pinnedFont(item.font).family));
    out += "\" font-size=\"";
    appendSvgNumber(
        out, std::isfinite(item.font.size) ? std::clamp(item.font.size, 1.0, 400.0) : 10.0, 3);
    out += '"';
    if (item.font.bold) out += " font-weight=\"bold\"";
    if (item.font.italic) out += " font-style=\"italic\"";
    if (item.font.underline) out += " text-decoration=\"underline\"";
    appendSvgPaint(out, "fill", item.font.color);
    if (size.w > 0) {
        out += " textLength=\"";
        appendSvgNumber(out, size.w);
        out += "\" lengthAdjust=\"spacingAndGlyphs\"";
    }
    out += '>';
    appendXmlText(out, item.text);
    out += "</text>\n";
}

} // namespace plotara::player

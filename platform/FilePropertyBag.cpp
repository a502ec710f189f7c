#include "platform/FilePropertyBag.h"

#include "core/AtomicFile.h"
#include "core/Error.h"
#include "core/FilePath.h"
#include "core/Text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace plotara {

namespace {

constexpr std::string_view formatLine = "plotara-form 1";
constexpr std::string_view endLine = "end";

Error fileNotFound() {
    return Error(53, L"File not found");
}
Error fileAccessError() {
    return Error(75, L"Path/File access error");
}

// Error 321 naming the form and the line.
[[noreturn]] void corrupt(const std::filesystem::path& path, std::size_t line, const String& what) {
    raise(Error(321, L"Invalid file format: " + fromPath(path) + L", line " +
                         text::decimal(static_cast<long long>(line)) + L": " + what));
}

// --- writing -----------------------------------------------------------------------------------

void appendQuoted(std::string& out, const String& value) {
    out += '"';
    for (const wchar_t c : value) {
        switch (c) {
        case L'\\':
            out += "\\\\";
            break;
        case L'"':
            out += "\\\"";
            break;
        case L'\n':
            out += "\\n";
            break;
        case L'\r':
            out += "\\r";
            break;
        case L'\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                static const char hex[] = "0123456789abcdef";
                out += "\\u00";
                out += hex[(c >> 4) & 0xF];
                out += hex[c & 0xF];
            } else {
                out += toUtf8(StringView(&c, 1));
            }
        }
    }
    out += '"';
}

template <class Number>
std::string numberText(Number value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void appendValue(std::string& out, const Variant& v) {
    switch (v.type()) {
    case Variant::Type::Empty:
        out += "Empty";
        return;
    case Variant::Type::Null:
        out += "Null";
        return;
    case Variant::Type::Boolean:
        out += v.asBool() ? "Boolean True" : "Boolean False";
        return;
    case Variant::Type::Integer:
        out += "Integer " + numberText(static_cast<int>(v.asInteger()));
        return;
    case Variant::Type::Long:
        out += "Long " + numberText(static_cast<long>(v.asLong()));
        return;
    case Variant::Type::Single:
        out += "Single " + numberText(static_cast<float>(v.asDouble()));
        return;
    case Variant::Type::Double:
        out += "Double " + numberText(v.asDouble());
        return;
    case Variant::Type::String:
        out += "String ";
        appendQuoted(out, v.asString());
        return;
    default:
        raise(errors::typeMismatch()); // the bags never hold objects, arrays or missing values
    }
}

bool writableName(const String& name) {
    return !name.empty() && name.front() != L' ' && name.back() != L' ' && name.front() != L'[' &&
           name.front() != L'#' && name.find_first_of(L"=\r\n\t") == String::npos;
}

// --- reading -----------------------------------------------------------------------------------

struct LineParser {
    const std::filesystem::path& path;
    std::size_t number;

    [[noreturn]] void fail(const String& what) const { corrupt(path, number, what); }

    String unquote(std::string_view s) const {
        if (s.size() < 2 || s.front() != '"') fail(L"a String value must be in double quotes");
        std::string bytes;
        std::size_t i = 1;
        for (; i < s.size(); ++i) {
            const char c = s[i];
            if (c == '"') break;
            if (c != '\\') {
                bytes += c;
                continue;
            }
            if (++i >= s.size()) break;
            switch (s[i]) {
            case '\\':
                bytes += '\\';
                break;
            case '"':
                bytes += '"';
                break;
            case 'n':
                bytes += '\n';
                break;
            case 'r':
                bytes += '\r';
                break;
            case 't':
                bytes += '\t';
                break;
            case 'u': {
                unsigned code = 0;
                const auto r = i + 4 < s.size()
                                   ? std::from_chars(s.data() + i + 1, s.data() + i + 5, code, 16)
                                   : std::from_chars_result{nullptr, std::errc::invalid_argument};
                if (r.ec != std::errc() || r.ptr != s.data() + i + 5 || code >= 0x80)
                    fail(L"\\u must be followed by four hexadecimal digits below 0080");
                bytes += static_cast<char>(code);
                i += 4;
                break;
            }
            default:
                fail(L"unknown escape \\" + fromUtf8(s.substr(i, 1)));
            }
        }
        if (i >= s.size()) fail(L"the String value has no closing quote");
        if (i + 1 != s.size()) fail(L"text after the closing quote");
        return fromUtf8(bytes);
    }

    template <class Number>
    Number parseNumber(std::string_view s, const wchar_t* type) const {
        Number value{};
        const auto r = std::from_chars(s.data(), s.data() + s.size(), value);
        if (r.ec != std::errc() || r.ptr != s.data() + s.size() || s.empty())
            fail(L"not a valid " + String(type) + L" value");
        return value;
    }

    Variant value(std::string_view s) const {
        const std::size_t blank = s.find(' ');
        const std::string_view type = s.substr(0, blank);
        const std::string_view rest = blank == std::string_view::npos ? "" : s.substr(blank + 1);
        if (type == "Empty" || type == "Null") {
            if (blank != std::string_view::npos) fail(L"Empty and Null take no value");
            return type == "Empty" ? Variant() : Variant::null();
        }
        if (blank == std::string_view::npos) fail(L"a type and a value are expected after \"=\"");
        if (type == "Boolean") {
            if (rest == "True") return Variant(true);
            if (rest == "False") return Variant(false);
            fail(L"a Boolean is True or False");
        }
        if (type == "Integer") {
            const int v = parseNumber<int>(rest, L"Integer");
            if (v < -32768 || v > 32767) fail(L"the Integer value is out of range");
            return Variant(static_cast<Integer>(v));
        }
        if (type == "Long")
            return Variant(static_cast<Long>(parseNumber<std::int32_t>(rest, L"Long")));
        if (type == "Single") return Variant(parseNumber<float>(rest, L"Single"));
        if (type == "Double") return Variant(parseNumber<double>(rest, L"Double"));
        if (type == "String") return Variant(unquote(rest));
        fail(L"unknown type \"" + fromUtf8(type) + L"\"");
    }
};

} // namespace

FilePropertyBag::FilePropertyBag(std::filesystem::path path) : path_(std::move(path)) {}

FilePropertyBag FilePropertyBag::parse(std::string_view content,
                                       const std::filesystem::path& path) {
    FilePropertyBag form(path);
    Section* section = nullptr;
    bool started = false, ended = false;
    std::size_t number = 0;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t stop = content.find('\n', start);
        if (stop == std::string_view::npos) stop = content.size();
        std::string_view line = content.substr(start, stop - start);
        start = stop + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const LineParser p{path, number};
        if (line.empty() || line.front() == '#') continue;
        if (ended) p.fail(L"text after the \"end\" line");
        if (!started) {
            if (line != formatLine) p.fail(L"the first line must be \"plotara-form 1\"");
            started = true;
            continue;
        }
        if (line == endLine) {
            ended = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 3) p.fail(L"a section line is \"[name]\"");
            const String name = fromUtf8(line.substr(1, line.size() - 2));
            if (form.find(name)) p.fail(L"control \"" + name + L"\" appears twice");
            form.sections_.push_back(Section{name, {}});
            section = &form.sections_.back();
            continue;
        }
        const std::size_t equals = line.find(" = ");
        if (equals == std::string_view::npos || equals == 0)
            p.fail(L"expected \"[control]\", \"name = Type value\" or \"end\"");
        if (!section) p.fail(L"a property before the first \"[control]\" line");
        const String name = fromUtf8(line.substr(0, equals));
        if (section->bag.contains(name)) p.fail(L"property \"" + name + L"\" appears twice");
        section->bag.set(name, p.value(line.substr(equals + 3)));
    }
    if (!ended)
        corrupt(path, number + 1,
                started ? L"the file ends before its \"end\" line: it is truncated"
                        : L"the file is empty");
    return form;
}

FilePropertyBag FilePropertyBag::load(const std::filesystem::path& path) {
    const std::string& native = path.native();
    struct stat info {};
    if (::stat(native.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR) raise(fileNotFound());
        raise(fileAccessError());
    }
    if (!S_ISREG(info.st_mode)) raise(fileAccessError());
    std::ifstream file(native, std::ios::binary);
    if (!file) raise(fileAccessError());
    std::ostringstream bytes;
    bytes << file.rdbuf();
    if (file.bad()) raise(fileAccessError());
    return parse(bytes.str(), path);
}

MemoryPropertyBag& FilePropertyBag::control(const String& name) {
    if (MemoryPropertyBag* bag = find(name)) return *bag;
    raise(Error(5, L"The form '" + fromPath(path_) + L"' has no control named '" + name + L"'"));
}

const MemoryPropertyBag& FilePropertyBag::control(const String& name) const {
    return const_cast<FilePropertyBag&>(*this).control(name);
}

MemoryPropertyBag& FilePropertyBag::addControl(const String& name) {
    if (name.empty() || name.find_first_of(L"]\r\n\t") != String::npos)
        raise(errors::invalidProcedureCall());
    if (MemoryPropertyBag* bag = find(name)) return *bag;
    sections_.push_back(Section{name, {}});
    return sections_.back().bag;
}

MemoryPropertyBag* FilePropertyBag::find(const String& name) {
    for (Section& s : sections_)
        if (text::equalsIgnoreCase(s.name, name)) return &s.bag;
    return nullptr;
}

const MemoryPropertyBag* FilePropertyBag::find(const String& name) const {
    return const_cast<FilePropertyBag&>(*this).find(name);
}

std::vector<String> FilePropertyBag::controlNames() const {
    std::vector<String> names;
    for (const Section& s : sections_)
        names.push_back(s.name);
    return names;
}

std::string FilePropertyBag::text() const {
    std::string out = "# Saved Plotara form: one [control] section per control, one\n"
                      "# \"name = Type value\" line per property that differs from its default.\n";
    out += formatLine;
    out += '\n';
    for (const Section& s : sections_) {
        out += '[';
        out += toUtf8(s.name);
        out += "]\n";
        for (const auto& [name, value] : s.bag.entries()) {
            if (!writableName(name)) raise(errors::invalidProcedureCall());
            out += toUtf8(name);
            out += " = ";
            appendValue(out, value);
            out += '\n';
        }
    }
    out += endLine;
    out += '\n';
    return out;
}

void FilePropertyBag::save() const {
    if (replaceFile(path_, text()) != 0) raise(fileAccessError());
    const std::string& target = path_.native();
    // Make the rename itself durable: flush the folder that holds the form.
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace plotara

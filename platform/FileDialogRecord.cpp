#include "platform/FileDialogRecord.h"

#include "core/Text.h"

namespace plotara::file_dialog {

namespace {

// Where the name part of a path starts (after its last "/" or "\").
std::size_t namePart(const String& path) {
    const std::size_t separator = path.find_last_of(L"/\\");
    return separator == String::npos ? 0 : separator + 1;
}

// Where the extension starts (after the last "." of the name part), 0 when there is none.
std::size_t extensionStart(const String& path) {
    const std::size_t name = namePart(path);
    const std::size_t dot = path.rfind(L'.');
    if (dot == String::npos || dot < name || dot + 1 >= path.size()) return 0;
    return dot + 1;
}

} // namespace

bool writeBuffer(String& buffer, Long capacity, const String& text) {
    if (static_cast<Long>(text.size()) + 1 > capacity) return false;
    if (buffer.size() < text.size() + 1) buffer.resize(text.size() + 1, L'\0');
    buffer.replace(0, text.size() + 1, text + L'\0');
    return true;
}

String withDefaultExtension(const String& name, const OPENFILENAME& record) {
    if (extensionStart(name) != 0 || record.lpstrDefExt.empty()) return name;
    return name + L"." + record.lpstrDefExt;
}

bool storeChoice(OPENFILENAME& record, const String& name) {
    if (!writeBuffer(record.lpstrFile, record.nMaxFile, name)) return false;
    if (record.nMaxFileTitle > 0)
        writeBuffer(record.lpstrFileTitle, record.nMaxFileTitle, name.substr(namePart(name)));
    record.nFileOffset = static_cast<Integer>(namePart(name));
    const std::size_t extension = extensionStart(name);
    record.nFileExtension = static_cast<Integer>(extension);
    const bool differs = !text::equalsIgnoreCase(extension == 0 ? String() : name.substr(extension),
                                                 record.lpstrDefExt);
    record.Flags =
        differs ? (record.Flags | extensionDifferent) : (record.Flags & ~extensionDifferent);
    return true;
}

} // namespace plotara::file_dialog

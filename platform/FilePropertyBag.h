// A form's saved controls in one readable text file: one section of typed values per control.
// The format is described in docs/persistence.md. Loading reads and checks the whole file before
// anything is handed out; saving writes a temporary file next to the target and renames it over
// the target, so a crash leaves either the old form or the new one, never half of one.
#pragma once

#include "platform/MemoryPropertyBag.h"

#include <deque>
#include <filesystem>
#include <string_view>
#include <vector>

namespace plotara {

class FilePropertyBag {
public:
    // An empty form that save() will write to path; nothing is read.
    explicit FilePropertyBag(std::filesystem::path path);

    // Reads a saved form (build a path from wide text with toPath, core/FilePath.h, so names
    // outside ASCII work in every locale). Error 53 "File not found" when the file does not exist,
    // Error 75 "Path/File access error" when it cannot be read, Error 321 "Invalid file format"
    // naming the line when the text is corrupt or truncated; no bag is returned then.
    static FilePropertyBag load(const std::filesystem::path& path);
    // Parses the text of a saved form (UTF-8); the path only names the form in errors and becomes
    // the save target. Error 321 as for load.
    static FilePropertyBag parse(std::string_view text, const std::filesystem::path& path);

    // The bag of a control the form holds; the reference stays valid for the life of the form.
    // Control names match case-insensitively. Error 5 naming the control and the form when the
    // form has no such control (a misspelt name is not quietly given defaults).
    MemoryPropertyBag& control(const String& name);
    const MemoryPropertyBag& control(const String& name) const;
    // The bag of the named control, created empty when the form has none yet (the bag a control
    // writes its properties to). Error 5 for a name that cannot be written in a section line
    // (empty, or holding "]", a line break or a tab).
    MemoryPropertyBag& addControl(const String& name);
    // The named control's bag, or nullptr when the form has none; the bag can be handed to
    // Plotara::ReadProperties. Cannot fail.
    MemoryPropertyBag* find(const String& name);
    const MemoryPropertyBag* find(const String& name) const;
    // The control names in the order they were added. Cannot fail.
    std::vector<String> controlNames() const;

    // The form as text (UTF-8). Error 5 for a property name that cannot be written (empty,
    // holding "=" or a line break, or with blanks around it, or starting with "[" or "#").
    std::string text() const;
    // Writes the form atomically to its path. Error 5 as for text(); Error 75 "Path/File access
    // error" when the temporary file cannot be written or renamed (the old file stays).
    void save() const;
    // The file the form is saved to.
    const std::filesystem::path& path() const noexcept { return path_; }

private:
    struct Section {
        String name;
        MemoryPropertyBag bag;
    };
    std::filesystem::path path_;
    std::deque<Section> sections_; // a deque: adding a control moves no existing bag
};

} // namespace plotara

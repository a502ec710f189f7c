// How every file dialog hands its answer back in the caller's record: the chosen name with the
// default extension added, the name and its file part in the caller's buffers, where the file
// part and the extension start, and whether the extension differs from the default one.
#pragma once

#include "platform/OsApi.h"

namespace plotara::file_dialog {

// The caller's flag bits the dialogs read or write.
inline constexpr Long overwritePrompt = 0x2;
inline constexpr Long extensionDifferent = 0x400;
inline constexpr Long fileMustExist = 0x1000;

// Writes text and a NUL into the start of a buffer of the given capacity; false, with the buffer
// untouched, when it does not fit. Cannot fail beyond std::bad_alloc.
bool writeBuffer(String& buffer, Long capacity, const String& text);

// The name with "." and the record's default extension added when the name has no extension of
// its own. Cannot fail.
String withDefaultExtension(const String& name, const OPENFILENAME& record);

// Stores the chosen name in the record: lpstrFile, lpstrFileTitle (when it has room), the file
// part's and extension's offsets and the extension-different flag. False, with the record
// untouched, when the name does not fit lpstrFile. Cannot fail beyond std::bad_alloc.
bool storeChoice(OPENFILENAME& record, const String& name);

} // namespace plotara::file_dialog

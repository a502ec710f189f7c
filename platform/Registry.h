// The machine-wide registry: a file in the registry-editor export format (.reg) named by the
// environment variable PLOTARIX_REGISTRY, or /etc/plotarix/registry.reg when that is unset.
//
// The reader takes the file as the registry editor would import it: a first line
// "Windows Registry Editor Version 5.00" (or "REGEDIT4"), UTF-8 or UTF-16 (with its byte order
// mark), LF or CRLF line ends, blank lines and ";" comment lines, "[key]" lines ("[-key]" deletes
// a key), and value lines "Name"="text", @="text" (the key's default value), "Name"=dword:hex and
// "Name"=- (deletes the value), with \\ and \" escapes inside quotes. Key and value names match
// case-insensitively; a value set twice keeps the later one, as an import would.
#pragma once

#include "core/String.h"

#include <filesystem>
#include <optional>

namespace plotara::registry {

// The file the machine-wide registry is read from. Cannot fail.
std::filesystem::path machineRegistryPath();

// Reads a value the way a script's RegRead names it: the key path and the value name joined by
// "\" ("HKLM\Software\Vendor\Key\Name"); "HKLM" abbreviates HKEY_LOCAL_MACHINE; a path ending in
// "\" names the key's default value. Text values come back unescaped, dword values as decimal
// text. Raises Error &H80070002 "Unable to open registry key ... for reading." when the file does
// not exist or holds no such value, Error 70 "Permission denied" when the file cannot be read, and
// Error &H8007000D "The data is invalid." when the file is not a registry export.
String regRead(const String& path);

// Whether the text starts with a registry-export header line. Cannot fail.
bool isRegistryText(StringView regText);

// The same lookup on a given .reg text; nothing when the value is absent or the text is not a
// registry export. Cannot fail.
std::optional<String> lookup(StringView regText, StringView path);

} // namespace plotara::registry

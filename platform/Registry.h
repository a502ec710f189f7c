// The machine-wide registry: a file in the registry-editor export format (.reg) named by the
// environment variable PLOTARIX_REGISTRY, or /etc/plotarix/registry.reg when that is unset.
#pragma once

#include "core/String.h"

#include <optional>

namespace plotara::registry {

// The file the machine-wide registry is read from.
std::string machineRegistryPath();

// Reads a value the way a script's RegRead names it: the key path and the value name joined by
// "\" ("HKLM\Software\Vendor\Key\Name"); "HKLM" abbreviates HKEY_LOCAL_MACHINE. Key and value
// names match case-insensitively. Text values come back unescaped, dword values as decimal text.
// Raises Error 5 when the file cannot be read or holds no such value.
String regRead(const String& path);

// The same lookup on a given .reg text; nothing when the value is absent. Cannot fail.
std::optional<String> lookup(StringView regText, StringView path);

} // namespace plotara::registry

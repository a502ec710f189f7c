// File attributes as the run-time's GetAttr reports them, derived from the POSIX file status.
#pragma once

#include "core/String.h"

#include <filesystem>

namespace plotara {

enum FileAttribute : Long {
    attrReadOnly = 1,   // the owner may not write
    attrHidden = 2,     // the name starts with "."
    attrDirectory = 16, // a folder
    attrArchive = 32    // every file that is not a folder
};

// The attributes of the file or folder at path: attrDirectory for a folder, attrArchive for
// anything else, plus attrReadOnly and attrHidden as they apply. Error 53 "File not found" when
// nothing exists at path (or the path is empty).
Long fileAttributes(const std::filesystem::path& path);

} // namespace plotara

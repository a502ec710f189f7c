// The choosers of the property page: the folder browser and the Open dialog for XML files, through
// the operating-system seam (platform/OsApi.h).
#pragma once

#include "core/String.h"

#include <cstdint>

namespace plotara {

// Opens the folder browser (file-system folders only) with the prompt, preselecting
// initialFolder; the chosen folder's path, or "" when the user cancels. Errors of the seam reach
// the caller.
String BrowseForFolderPath(Long owner, const String& prompt, const String& initialFolder);

// The folder browser's callback: once the browser is initialised (message 1) it asks the browser
// to select the folder whose text lpData points to (a String). Always returns 0.
Long BrowseCallback(Long hwnd, Long uMsg, std::intptr_t lParam, std::intptr_t lpData);

// Opens the Open dialog for an existing XML file, starting in initialFolder; the chosen path, or
// "" when the user cancels or the dialog fails. Errors of the seam reach the caller.
String ShowOpenXMLDialog(const String& initialFolder, const String& title, Long owner);

} // namespace plotara

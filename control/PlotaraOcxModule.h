// Functions shared by the control and the property page: the default chart folder, window
// capture, picture wrapping and the Save dialog.
#pragma once

#include "control/Picture.h"
#include "core/Error.h"
#include "core/String.h"
#include "platform/OsApi.h"

#include <memory>

namespace plotara {

// The component's version as major "." minor "." revision ("1.0.0").
String componentVersion();

// The default chart folder: the value "ChartsPath" of HKLM\Software\Quenmark\Plotarix\<version>,
// read through a new scripting shell's RegRead. Never fails: any failure gives "".
String GetDefaultChartsPath();

// Copies the rectangle (left, top, width, height; pixels) of the window's client area, or of the
// whole window when clientArea is false, into a new picture; on a 256-colour palette display the
// picture carries the system palette. Checks no result of the system calls: a failed call gives
// an empty picture, or none when the picture cannot be created. Cannot fail otherwise.
std::shared_ptr<Picture> CopyWindowToPicture(Long hwnd, bool clientArea, Long left, Long top,
                                             Long width, Long height);

// A picture owning the bitmap and palette handles (palette 0 for none); none when the system
// cannot create it. Cannot fail otherwise.
std::shared_ptr<Picture> PictureFromBitmap(Long bitmap, Long palette);

// Asks for a bitmap file name with the Save dialog, on the record shared by the whole component
// (the filter the user picked comes back next time). The chosen path, trimmed of blanks, or
// SaveDialogCancelled() when the user cancels or the dialog fails. Cannot fail.
String ShowSaveImageDialog();
// The cancel marker: the one-character text holding only NUL.
const String& SaveDialogCancelled();
// The shared Save dialog record as the last dialog left it (read-only view). Cannot fail.
const OPENFILENAME& SaveImageDialogRecord();
// Starts the shared record afresh, as when the component is loaded anew. Cannot fail.
void ResetSaveImageDialog();

// The folder that holds the component's own file (the shared library or the program it is linked
// into); "" when it cannot be found. Cannot fail.
String ComponentFolder();

// Whether a normal file (not a folder, not hidden) exists at path, as a directory listing for
// normal files would find it. Cannot fail.
bool NormalFileExists(const String& path);

// Error 91 "Object variable or With block variable not set", for a Data property set to nothing.
Error objectVariableNotSet();

} // namespace plotara

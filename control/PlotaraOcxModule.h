// Functions shared by the control and the property page.
#pragma once

#include "core/Error.h"
#include "core/String.h"

namespace plotara {

// The component's version as major "." minor "." revision ("1.0.0").
String componentVersion();

// The default chart folder: the machine-wide registry value "ChartsPath" under
// HKLM\Software\Quenmark\Plotarix\<version>. Never fails: any failure gives "".
String GetDefaultChartsPath();

// Error 91 "Object variable or With block variable not set", for a Data property set to nothing.
Error objectVariableNotSet();

// The component error raised by members that later work provides (capture, export and the
// saving and loading of settings): it names the member and says it is not available yet.
Error notAvailableYet(const String& member);

} // namespace plotara

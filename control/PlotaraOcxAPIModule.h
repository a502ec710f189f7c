// The operating-system seam of the component: the graphics, picture, dialog and folder-browser
// functions by their published names, with their records. The contract and its records live in
// platform/OsApi.h so that the platform's implementations (headless, desktop) and the property
// page can reach them without the control; this header gives them the component's module name.
#pragma once

#include "platform/OsApi.h"

namespace plotara {

using PlotaraOcxAPIModule = OsApi;

// The implementation installed for the process. Cannot fail.
inline PlotaraOcxAPIModule& PlotaraOcxAPI() {
    return osApi();
}

} // namespace plotara

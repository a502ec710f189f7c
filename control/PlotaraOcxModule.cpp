#include "control/PlotaraOcxModule.h"

#include "core/ErrorTrap.h"
#include "core/Text.h"
#include "platform/Registry.h"

namespace plotara {

namespace {
constexpr Long versionMajor = 1, versionMinor = 0, versionRevision = 0;
constexpr Long notAvailableCode = 0x201; // component error code of members not built yet
} // namespace

String componentVersion() {
    return text::decimal(versionMajor) + L"." + text::decimal(versionMinor) + L"." +
           text::decimal(versionRevision);
}

String GetDefaultChartsPath() {
    String folder;
    ErrorTrap::capture([&] {
        const String version = text::trim(componentVersion());
        folder =
            registry::regRead(L"HKLM\\Software\\Quenmark\\Plotarix\\" + version + L"\\ChartsPath");
    });
    return folder;
}

Error objectVariableNotSet() {
    return Error(91, L"Object variable or With block variable not set");
}

Error notAvailableYet(const String& member) {
    return errors::component(notAvailableCode,
                             member + L" is not available yet in this release of Plotara");
}

} // namespace plotara

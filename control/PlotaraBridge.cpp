// The movie bridge: the chart movie's script calls become events, and PrintChart asks the movie
// to print itself.
#include "control/Plotara.h"
#include "control/detail/InvokeRequest.h"
#include "core/ErrorTrap.h"
#include "core/SafeArray.h"
#include "core/Text.h"

namespace plotara {

void Plotara::FlashCall(const String& request) {
    String name;
    String argument;
    if (request == L"1") {
        name = L"PT_Rendered";
    } else {
        ErrorTrap::resume([&] {
            auto parts = ParseInvokeRequest(request);
            name = std::move(parts[0]);
            argument = std::move(parts[1]);
        });
    }
    if (name == L"PT_Rendered")
        ErrorTrap::resume([&] { container_.raiseEvent(PlotaraEvent::ChartRendered, {}); });
    if (name == L"PT_Loaded")
        ErrorTrap::resume([&] { container_.raiseEvent(PlotaraEvent::ChartLoaded, {}); });
    if (name != L"PT_Rendered" && name != L"PT_Loaded" && name != L"PT_Invoke") {
        Variant parameter;
        ErrorTrap::resume([&] {
            if (argument.empty()) return;
            std::vector<Variant> items;
            for (String& part : text::split(argument, L","))
                items.emplace_back(std::move(part));
            parameter = Variant(SafeArray::of(std::move(items), 0));
        });
        ErrorTrap::resume([&] {
            container_.raiseEvent(PlotaraEvent::DrillDown, {Variant(name), parameter});
        });
    }
}

void Plotara::PrintChart() {
    const auto error =
        ErrorTrap::capture([&] { movieHost_->CallFunction(BuildInvokeRequest(L"print", L"")); });
    if (!error) return;
    container_.messageBox(L"Error Number: " + text::decimal(error->number()) + L"\n" +
                              L"Description: " + error->description(),
                          0);
}

} // namespace plotara

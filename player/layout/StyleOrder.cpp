#include "player/layout/StyleOrder.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace plotara::player {

std::vector<const StyleDefinition*> fontStylesFor(const ChartModel& model,
                                                  std::string_view object) {
    // The style names applied to the object, each at its last application, in order.
    std::vector<std::string_view> names;
    std::unordered_set<std::string_view> seen;
    for (auto it = model.applications.rbegin(); it != model.applications.rend(); ++it)
        if (it->first == object && seen.insert(it->second).second) names.push_back(it->second);
    if (names.empty()) return {};
    std::reverse(names.begin(), names.end());

    std::unordered_map<std::string_view, std::vector<const StyleDefinition*>> definitions;
    for (const StyleDefinition& def : model.styles)
        if (def.type == "font" && seen.count(def.name) > 0) definitions[def.name].push_back(&def);

    std::vector<const StyleDefinition*> order;
    for (std::string_view name : names) {
        const auto found = definitions.find(name);
        if (found != definitions.end())
            order.insert(order.end(), found->second.begin(), found->second.end());
    }
    return order;
}

} // namespace plotara::player
